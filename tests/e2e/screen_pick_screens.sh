#!/usr/bin/env bash
# The screen eyedropper on a desktop of two screens side by side (two X screens of one server):
# the pointer moved onto the second screen takes that screen's device pixel, at 100 % and 150 %.
# The magnifier window follows the pointer onto the second screen.
# Each screen shows a pattern in which every pixel's colour says where it is (e2e_root_pattern);
# the second screen's blue has 128 added, so the screens differ too.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

e2e_xvfb -screen 1 1280x1024x24
base=${DISPLAY%.*}
e2e_root_pattern "$base.0" 0
e2e_root_pattern "$base.1" 128

colour_at() { e2e_pattern_at "$2" "$3" $((128 * $1)); }
magnifier_open() { xdotool search --onlyvisible --name '^Pick from screen$' >/dev/null 2>&1; }
magnifier_on() { xdotool search --screen "$1" --onlyvisible --name '^Pick from screen$' >/dev/null 2>&1; }
magnifier_closed() { ! magnifier_open; }

for scale in 1 1.5; do
  export QT_SCALE_FACTOR=$scale
  e2e_launch "$exe"
  for at in "1 1102 502" "1 1103 503" "0 1201 900" "1 641 300"; do
    set -- $at
    xdotool mousemove --screen 0 1000 1000
    xdotool windowfocus --sync "$E2E_WID"
    xdotool key --clearmodifiers ctrl+shift+e
    e2e_until magnifier_open || fail "no magnifier at scale $scale"
    xdotool mousemove --screen "$1" "$2" "$3"
    xdotool mousemove --screen "$1" "$(($2 + 1))" "$3" mousemove --screen "$1" "$2" "$3"
    e2e_until magnifier_on "$1" || fail "the magnifier did not follow onto screen $1 at scale $scale"
    xdotool click 1
    e2e_until magnifier_closed || fail "magnifier still open after the click at scale $scale"
    got=$(e2e_current_html)
    [ "$got" = "$(colour_at "$1" "$2" "$3")" ] ||
      fail "click on screen $1 at $2,$3, scale $scale, took $got, not $(colour_at "$1" "$2" "$3")"
  done
  xdotool key --clearmodifiers ctrl+q
  e2e_wait_exit
done
echo "screen_pick_screens: ok"
