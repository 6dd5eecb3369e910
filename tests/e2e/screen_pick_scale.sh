#!/usr/bin/env bash
# The screen eyedropper takes the device pixel under the pointer at every scale: the root window
# shows a pattern in which each pixel's colour says where it is (e2e_root_pattern), and picks at
# odd and even device positions must give exactly that pixel, by click and by the arrow keys, at
# 100 %, 125 %, 150 % and 200 %. The magnifier shows device pixels as even squares with the
# centre one framed.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

e2e_xvfb
e2e_root_pattern "$DISPLAY" 0
colour_at() { e2e_pattern_at "$1" "$2"; }
magnifier() { xdotool search --onlyvisible --name '^Pick from screen$' 2>/dev/null | head -n1; }
magnifier_open() { [ -n "$(magnifier)" ]; }
magnifier_closed() { [ -z "$(magnifier)" ]; }

start_pick() {
  xdotool windowfocus --sync "$E2E_WID"
  xdotool key --clearmodifiers ctrl+shift+e
  e2e_until magnifier_open || fail "no magnifier at scale $scale"
}
# The colours of pixels of an image file ("x,y" arguments), as #RRGGBB words.
pixels_of() {
  local file=$1 format="" p
  shift
  for p in "$@"; do format+="%[hex:p{$p}] "; done
  convert "$file" -depth 8 -format "$format" info: | tr ' ' '\n' | grep . | cut -c1-6 | sed 's/^/#/' | tr '\n' ' '
}

# The magnifier shows the device pixels around x, y: the centre square framed, and each square
# `cell` device pixels wide (first and last pixel of a square hold its pixel's colour).
magnifier_shows() {
  local x=$1 y=$2 cell=$3 border=$4 shot="$E2E_TMP/magnifier.png"
  import -window "$(magnifier)" -depth 8 "$shot" 2>/dev/null || return 1
  local mid=$((border + 7 * cell + cell / 2)) at=() want=() k left
  at+=("$mid,$mid") want+=("$(colour_at "$x" "$y")")
  at+=("$((border + 7 * cell)),$mid") want+=("#000000")
  for k in 1 2 3; do
    left=$((border + (7 + k) * cell))
    at+=("$left,$mid" "$((left + cell - 1)),$mid")
    want+=("$(colour_at $((x + k)) "$y")" "$(colour_at $((x + k)) "$y")")
  done
  at+=("$mid,$((border + 4 * cell))") want+=("$(colour_at "$x" $((y - 3)))")
  [ "$(pixels_of "$shot" "${at[@]}")" = "${want[*]} " ]
}

for scale in 1 1.25 1.5 2; do
  export QT_SCALE_FACTOR=$scale
  e2e_launch "$exe"
  cell=$(awk -v s="$scale" 'BEGIN { printf "%d", 8 * s + 0.5 }')
  border=$(awk -v s="$scale" 'BEGIN { printf "%d", s + 0.5 }')

  for at in "1102 502" "1103 503" "1201 900" "1200 901"; do
    set -- $at
    start_pick
    xdotool mousemove "$1" "$2"
    e2e_until magnifier_shows "$1" "$2" "$cell" "$border" || fail "magnifier at $1,$2, scale $scale"
    xdotool click 1
    e2e_until magnifier_closed || fail "magnifier still open after the click at scale $scale"
    got=$(e2e_current_html)
    [ "$got" = "$(colour_at "$1" "$2")" ] || fail "click at $1,$2, scale $scale, took $got, not $(colour_at "$1" "$2")"
  done

  # The arrow keys: one device pixel, ten with Shift.
  start_pick
  xdotool mousemove 1102 502
  e2e_until magnifier_shows 1102 502 "$cell" "$border" || fail "magnifier at 1102,502 before the keys, scale $scale"
  xdotool key Right Down shift+Left Up Up
  e2e_until magnifier_shows 1093 501 "$cell" "$border" || fail "magnifier after the arrow keys, scale $scale"
  xdotool key Return
  e2e_until magnifier_closed || fail "magnifier still open after Return at scale $scale"
  got=$(e2e_current_html)
  [ "$got" = "$(colour_at 1093 501)" ] || fail "arrow keys at scale $scale took $got, not $(colour_at 1093 501)"

  xdotool key --clearmodifiers ctrl+q
  e2e_wait_exit
done
echo "screen_pick_scale: ok"
