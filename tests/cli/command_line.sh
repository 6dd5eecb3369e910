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
echo "command_line: ok"
