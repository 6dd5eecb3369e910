#!/usr/bin/env bash
# The eyedropper's averaged square on X11 through `pigmora --pick`: the mean of a black and white
# checkerboard in linear light (not the bytes' mean), a square at the screen's corners that counts
# only the pixels on the screen, the size changed with + and Ctrl + wheel; and a pick as a
# display-p3 monitor shows it, kept exactly. Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
build=$2
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

e2e_xvfb
mkdir -p -m 0755 "$E2E_TMP/app" && cp "$exe" "$E2E_TMP/app/pigmora"
magnifier_open() { xdotool search --onlyvisible --name '^Pick from screen$' >/dev/null 2>&1; }

# Black and white device pixels, white where x + y is even.
printf '#define checker_width 2\n#define checker_height 2\nstatic char checker_bits[] = {\n   0x01, 0x02};\n' >"$E2E_TMP/checker.xbm"
xsetroot -bitmap "$E2E_TMP/checker.xbm" -fg '#FFFFFF' -bg '#000000'

# pick X Y KEYS... -- OPTIONS...: starts --pick with the options, puts the pointer on X Y, sends
# the keys (xdotool key arguments; "wheelup" turns the wheel one notch with Ctrl), then Return.
pick() {
  local x=$1 y=$2 keys=() opts=()
  shift 2
  while [ $# -gt 0 ] && [ "$1" != -- ]; do keys+=("$1"); shift; done
  [ "${1:-}" = -- ] && shift
  opts=("$@")
  "$E2E_TMP/app/pigmora" --pick "${opts[@]}" >"$E2E_TMP/out" 2>"$E2E_TMP/err" &
  E2E_APP_PID=$!
  e2e_until magnifier_open || fail "no magnifier for --pick ${opts[*]}"
  xdotool mousemove "$x" "$y"
  sleep 0.3
  for k in "${keys[@]}"; do
    if [ "$k" = wheelup ]; then
      xdotool keydown ctrl click 4 keyup ctrl
    else
      xdotool key "$k"
    fi
    sleep 0.1
  done
  xdotool key Return
  status=0
  timeout 10 tail --pid="$E2E_APP_PID" -f /dev/null || fail "--pick did not end"
  wait "$E2E_APP_PID" || status=$?
  E2E_APP_PID=""
  [ "$status" -eq 0 ] || fail "--pick ${opts[*]} exited $status: $(cat "$E2E_TMP/err")"
  cat "$E2E_TMP/out"
}
expect() { [ "$1" = "$2" ] || fail "$3: '$1', not '$2'"; }

# One pixel is the pixel; 3×3 is 5/9 (or 4/9) of white's light: 196.6 (177.9), where the bytes'
# mean would be 142 (113).
expect "$(pick 1100 900 -- )" "#FFFFFF" "one pixel"
expect "$(pick 1100 900 -- --average 3)" "#C5C5C5" "--average 3 on white"
expect "$(pick 1101 900 -- --average 3)" "#B2B2B2" "--average 3 on black"
# 31×31 around white: 481 white, 480 black.
expect "$(pick 640 512 -- --average 31)" "#BCBCBC" "--average 31"
# At the corners only 2×2 of the square are on the screen: half white.
expect "$(pick 0 0 -- --average 3)" "#BCBCBC" "--average 3 at the top-left corner"
expect "$(pick 1279 1023 -- --average 3)" "#BCBCBC" "--average 3 at the bottom-right corner"
# 3×3 of a 5×5 square at the top-right corner, four of them white.
expect "$(pick 1279 0 -- --average 5)" "#B2B2B2" "--average 5 at the top-right corner"
# The keys and the wheel with Ctrl: + to 3, the wheel to 5, - back to 3.
expect "$(pick 1100 900 plus -- )" "#C5C5C5" "+ in the magnifier"
expect "$(pick 1100 900 plus wheelup minus -- )" "#C5C5C5" "+, Ctrl+wheel and - in the magnifier"
# 5×5 around white: 13 of 25 white.
expect "$(pick 1100 900 wheelup wheelup -- )" "#BFBFBF" "two notches of Ctrl+wheel"

"$E2E_TMP/app/pigmora" --pick --average 7 >/dev/null 2>"$E2E_TMP/err" && fail "--average 7 was taken"
grep -q -- '--average' "$E2E_TMP/err" || fail "--average 7 said '$(cat "$E2E_TMP/err")'"
[ ! -e "$E2E_TMP/config/pigmora" ] || fail "--pick --average wrote a per-user settings file"

# ---- A display-p3 monitor, as it shows the colour ----
"$build/tests/p3_profile" "$E2E_TMP/p3.icc" || fail "no display-p3 profile"
"$build/tests/root_property" _ICC_PROFILE "$E2E_TMP/p3.icc" || fail "could not set _ICC_PROFILE"
xsetroot -solid '#FF0000'
expect "$(pick 600 500 -- --as-shown --to p3,oklch)" \
  "$(printf 'color(display-p3 1 0 0)\n%s' "$("$exe" --convert 'color(display-p3 1 0 0)' --to oklch)")" \
  "the display-p3 monitor's red"
xsetroot -solid '#6496C8'
got=$(pick 600 500 -- --as-shown --to p3)
read -r r g b < <(echo "$got" | sed -n 's/^color(display-p3 \([0-9.]*\) \([0-9.]*\) \([0-9.]*\))$/\1 \2 \3/p')
[ -n "$b" ] || fail "--to p3 printed '$got'"
awk -v r="$r" -v g="$g" -v b="$b" 'function near(a, e) { return a - e < 1e-3 && e - a < 1e-3 }
  BEGIN { exit !(near(r, 100 / 255) && near(g, 150 / 255) && near(b, 200 / 255)) }' ||
  fail "the display-p3 monitor's #6496C8 is $got"
# Its 8 bits are those Little CMS's transicc gives for sRGB, within a step.
read -r r g b < <(echo "100 150 200" | transicc -i "$E2E_TMP/p3.icc" -o '*sRGB' -t 1 -n 2>/dev/null | tail -n1)
hex=$(pick 600 500 -- --as-shown)
for i in 0 1 2; do
  want=$(echo "$r $g $b" | cut -d' ' -f$((i + 1)))
  have=$((16#${hex:$((1 + 2 * i)):2}))
  awk -v a="$have" -v b="$want" 'BEGIN { d = a - b; exit !(d <= 1 && d >= -1) }' || fail "as shown: $hex, transicc says $r $g $b"
done

# A garbage profile: the device value, one clear message, no crash.
head -c 5000 /dev/urandom >"$E2E_TMP/garbage.icc"
"$build/tests/root_property" _ICC_PROFILE "$E2E_TMP/garbage.icc" || fail "could not set _ICC_PROFILE"
expect "$(pick 600 500 -- --as-shown --average 5 --to p3)" "$("$exe" --convert '#6496C8' --to p3)" "a garbage profile"
[ "$(grep -c 'display profile' "$E2E_TMP/err")" -eq 1 ] || fail "a garbage profile said '$(cat "$E2E_TMP/err")'"
echo "pick_average: ok"
