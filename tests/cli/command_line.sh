#!/usr/bin/env bash
# The command line without a display: help, version, conversion, and the exit codes of what
# does not read or does not fit.
# Arguments: the pigmora executable.
set -euo pipefail
exe=$1
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
status() { set +e; "$@" >/dev/null 2>&1; local s=$?; set -e; echo "$s"; }

"$exe" --help | grep -q -- '--convert TEXT' || fail "--help"
[ "$("$exe" -v)" = "pigmora $("$exe" --version | cut -d' ' -f2)" ] || fail "-v and --version differ"
[ "$("$exe" --convert 'oklch(0.7 0.1 200)' --to html,oklch)" = $'#40B1B7\noklch(0.7 0.1 200)' ] || fail "--convert --to"
[ "$("$exe" --to rgb --srgb --convert '#98B5D1')" = "srgb <0.596, 0.71, 0.82>" ] || fail "--srgb"
[ "$("$exe" --convert '#336699' | wc -l)" -eq 32 ] || fail "every notation"
# A colour as written comes back as written in its own notation, beside its sRGB fallback.
[ "$("$exe" --convert 'color(display-p3 1 0 0)' --to p3)" = 'color(display-p3 1 0 0)' ] || fail "display-p3 kept"
[ "$("$exe" --convert 'oklch(0.7 0.25 30)' --to oklch,html,css-rgb)" = $'oklch(0.7 0.25 30)\n#FF5843\nrgb(255 88 67)' ] || fail "oklch kept, fallback beside"
for name in srgb rec2020 a98-rgb prophoto-rgb xyz-d65 xyz-d50; do
  "$exe" --convert 'lab(50 20 -30)' --to "$name" | grep -q '^color(' || fail "--to $name"
done
[ "$("$exe" --convert 'rgb(10 20 30 / 50%)' --to css-rgb)" = 'rgb(10 20 30 / 0.5)' ] || fail "alpha kept"
"$exe" --convert '#336699' | grep -qx 'oklch: oklch(0.5 0.099 250.4)' || fail "name: text lines"
[ "$(status "$exe" --convert 'no colour')" -eq 1 ] || fail "unreadable text"
{ "$exe" --convert 'no colour' 2>&1 || true; } | grep -q "'no colour'" || fail "the message names the text"
[ "$(status "$exe" --convert red --to nope)" -eq 2 ] || fail "unknown notation"
[ "$(status "$exe" --bogus)" -eq 2 ] || fail "unknown option"
[ "$(status "$exe" "$(printf '\xff\xfe')" --convert x)" -eq 2 ] || fail "bytes that are no UTF-8"
[ "$(status "$exe")" -eq 1 ] || fail "the window without a display"
{ "$exe" 2>&1 || true; } | grep -q 'no display' || fail "no-display message"
big=$(head -c 100000 /dev/zero | tr '\0' 'x')
[ "$(status "$exe" --convert "$big")" -eq 1 ] || fail "a huge text"
# A failed write of the output is a failure, with a message.
for args in "--convert #336699" "--convert #336699 --to html" "--help" "--version"; do
  set +e; $exe $args >/dev/full 2>"$tmp/err"; s=$?; set -e
  [ "$s" -eq 1 ] || fail "$args > /dev/full exited $s"
  grep -q 'could not be written' "$tmp/err" || fail "$args > /dev/full said: $(cat "$tmp/err")"
done
# What the user typed comes back escaped: no control characters, no bytes that are no UTF-8.
{ "$exe" --convert $'\e]2;pwned\a\e[2J\xff' 2>&1 || true; } >"$tmp/err"
grep -qF "'\x1B]2;pwned\x07\x1B[2J\xFF' is no colour" "$tmp/err" || fail "escapes echoed: $(cat -v "$tmp/err")"
! LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f]' "$tmp/err" || fail "a control character in the message"
{ "$exe" --convert red --to $'a\eb' 2>&1 || true; } | grep -qF "'a\x1Bb' is no notation" || fail "a notation name echoed raw"
# Judging colours: simulation, contrast with its fix, differences; bad input is exit 2.
[ "$("$exe" --simulate protanopia '#0000ff' --to css-hex)" = '#0000ff' ] || fail "blue stays blue for a protanope"
[ "$("$exe" --simulate achromatopsia '#ffffff' --to css-hex)" = '#ffffff' ] || fail "achromatopsia white"
[ "$("$exe" --simulate deuteranomaly:0 'oklch(0.7 0.1 200)' --to html)" = '#40B1B7' ] || fail "severity 0 changes nothing"
[ "$("$exe" --simulate deuteranomaly:0.6 red | wc -l)" -eq 32 ] || fail "--simulate every notation"
"$exe" --contrast '#777777' white >"$tmp/out"
grep -qx 'WCAG 2: 4.47:1, AA fails, AA large passes, AAA fails, AAA large fails' "$tmp/out" || fail "--contrast: $(cat "$tmp/out")"
grep -qx 'APCA Lc 71.1 as text, -76.6 as background' "$tmp/out" || fail "--contrast APCA: $(cat "$tmp/out")"
"$exe" --contrast '#777777' white --fix aa | grep -q '^WCAG AA (4.5): .*(#767676), WCAG 2 4.55:1' || fail "--fix aa"
"$exe" --contrast red '#808080' --fix aaa | grep -q 'no colour of this hue and chroma reaches it' || fail "--fix none passes"
"$exe" --delta '#ff0000' '#00ff00' >"$tmp/out"
[ "$(cat "$tmp/out")" = $'CIEDE2000: 84.3069\ndeltaEOK: 0.519813\nCIE76: 163.926' ] || fail "--delta: $(cat "$tmp/out")"
for args in "--simulate bogus red" "--simulate protanomaly:-0.5 red" "--simulate protanomaly:nan red" \
            "--simulate protanomaly:1e999 red" "--simulate protanopia:0.5 red" "--simulate protanopia nan" \
            "--contrast red 1e999" "--contrast red blue --fix aa+" "--delta red" "--delta red rgb(nan,0,0)" \
            "--simulate protanopia red --to nope"; do
  set +e; $exe $args >"$tmp/out" 2>"$tmp/err"; s=$?; set -e
  [ "$s" -eq 2 ] || fail "$args exited $s"
  [ -s "$tmp/err" ] && [ ! -s "$tmp/out" ] || fail "$args: no message, or output beside it"
done
{ "$exe" --simulate 'deutan' red 2>&1 || true; } | grep -q "'deutan' is no colour vision; the visions are: normal, protanopia" || fail "vision message"
# Palettes from any format to any other, and back; a file that does not read is exit 2 and one
# line naming it.
printf 'GIMP Palette\nName: Sea\n152 181 209\tsky\n  0  83 165\tdeep blue\n' >"$tmp/in.gpl"
for out in tokens.json tailwind.css ase kpl soc xml css; do
  "$exe" --palette-convert "$tmp/in.gpl" "$tmp/p.$out" || fail "--palette-convert to .$out"
  "$exe" --palette-convert "$tmp/p.$out" "$tmp/back.gpl" || fail "--palette-convert from .$out"
  grep -q $'^  0  83 165\tdeep blue$' "$tmp/back.gpl" || fail ".$out did not keep a colour and its name"
done
"$exe" --palette-convert "$tmp/in.gpl" "$tmp/sheet.svg" && grep -q '#0053A5' "$tmp/sheet.svg" || fail "svg sheet"
"$exe" --palette-convert "$tmp/in.gpl" "$tmp/sheet.png" 2>/dev/null && [ "$(head -c 4 "$tmp/sheet.png" | tail -c 3)" = PNG ] || fail "png sheet"
mkdir "$tmp/dir.gpl"
for bad in "$tmp/dir.gpl" "$tmp/missing.ase" /dev/null; do
  [ "$(status "$exe" --palette-convert "$bad" "$tmp/x.gpl")" -eq 2 ] || fail "--palette-convert $bad"
  [ "$({ "$exe" --palette-convert "$bad" "$tmp/x.gpl" 2>&1 || true; } | wc -l)" -eq 1 ] || fail "one line for $bad"
  { "$exe" --palette-convert "$bad" "$tmp/x.gpl" 2>&1 || true; } | grep -qF "$bad could not be read" || fail "$bad not named"
done
[ ! -e "$tmp/x.gpl" ] || fail "a failed conversion wrote its output"
[ "$(status "$exe" --palette-convert "$tmp/in.gpl" "$tmp/x.txt")" -eq 2 ] || fail "an output suffix that names no format"
[ "$(status "$exe" --palette-convert "$tmp/in.gpl")" -eq 2 ] || fail "--palette-convert without OUT"
# Palettes made from colours: a scale, a harmony and a gradient in every form.
[ "$("$exe" --scale 'oklch(0.6 0.05 200)' | wc -l)" -eq 11 ] || fail "--scale lines"
"$exe" --scale 'oklch(0.6 0.05 200)' | grep -qx '500: oklch(0.6 0.05 200)' || fail "--scale keeps the colour"
"$exe" --scale 'oklch(0.6 0.05 200)' | grep -qx '400: oklch(0.7 0.046875 200)' || fail "--scale step 400"
[ "$("$exe" --scale '#3b82f6' --to html | head -1 | cut -d' ' -f1)" = "50:" ] || fail "--scale --to"
"$exe" --scale 'color(display-p3 1 0 0)' --gamut display-p3 --to p3 | grep -q '^600: color(display-p3 ' || fail "--gamut"
[ "$("$exe" --harmony triadic 'oklch(0.7 0.1 200)')" = $'base: oklch(0.7 0.1 200)
+120°: oklch(0.7 0.1 320)
+240°: oklch(0.7 0.1 80)' ] || fail "--harmony"
[ "$("$exe" --gradient red blue --steps 3 --in srgb --to pov --srgb)" = $'color_map {
  [0 color srgb <1, 0, 0>]
  [0.5 color srgb <0.5, 0, 0.5>]
  [1 color srgb <0, 0, 1>]
}' ] || fail "--gradient pov"
[ "$("$exe" --gradient red blue --steps 3 --in srgb --to glsl)" = 'vec3[3](vec3(1.0, 0.0, 0.0), vec3(0.5, 0.0, 0.5), vec3(0.0, 0.0, 1.0))' ] || fail "--gradient glsl"
"$exe" --gradient 'oklch(0.6 0.1 30)' 'oklch(0.8 0.1 90)' --steps 3 --in 'oklch longer hue' \
  | grep -qx 'linear-gradient(in oklch longer hue, oklch(0.6 0.1 30), oklch(0.7 0.1 240), oklch(0.8 0.1 90))' || fail "--gradient css"
[ "$("$exe" --gradient red blue --steps 4 --to css-hex | wc -l)" -eq 4 ] || fail "--gradient each step"
for args in "--harmony pentadic red" "--gradient red blue --steps 1" "--gradient red blue --steps 257" "--gradient red blue" \
            "--gradient red blue --steps 3 --in nowhere" "--gradient red blue --steps 3 --in srgb-longer" "--scale red --steps 3" \
            "--scale red --gamut cmyk" "--scale red blue" "--harmony square" "--scale red --to nope" "--scale red --convert red"; do
  [ "$(status "$exe" $args)" -eq 2 ] || fail "$args"
  [ "$({ "$exe" $args 2>&1 >/dev/null || true; } | wc -l)" -le 2 ] || fail "$args: more than one message"
done
[ "$(status "$exe" --scale 'no colour')" -eq 1 ] || fail "--scale of no colour"
echo "command_line: ok"
