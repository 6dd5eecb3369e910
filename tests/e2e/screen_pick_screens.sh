#!/usr/bin/env bash
# The screen eyedropper on a desktop of two screens side by side (two X screens of one server):
# the pointer moved onto the second screen takes that screen's device pixel, at 100 % and 150 %.
# (The magnifier window stays on the first X screen; monitors of one X screen it follows.)
# Each screen shows a pattern in which every pixel's colour says where it is (see
# screen_pick_scale.sh); the second screen's blue has 128 added, so the screens differ too.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

e2e_xvfb -screen 1 1280x1024x24
base=${DISPLAY%.*}
for n in 0 1; do
  convert -size 1280x1024 xc:black -channel R -fx 'mod(i,256)/255' -channel G -fx 'mod(j,256)/255' \
    -channel B -fx "(floor(i/256)*16+floor(j/256)+128*$n)/255" +channel -depth 8 "$E2E_TMP/pattern$n.png"
  # display answers 1 once it has set the picture, which is there all the same.
  DISPLAY=$base.$n display -window root "$E2E_TMP/pattern$n.png" || true
done

colour_at() { printf '#%02X%02X%02X' $(($2 % 256)) $(($3 % 256)) $(($2 / 256 * 16 + $3 / 256 + 128 * $1)); }
magnifier_open() { xdotool search --onlyvisible --name '^Pick from screen$' >/dev/null 2>&1; }
magnifier_closed() { ! magnifier_open; }
current_html() {
  echo -n "-" | xclip -selection clipboard >/dev/null 2>&1
  xdotool windowfocus --sync "$E2E_WID"
  xdotool key --clearmodifiers ctrl+shift+h
  e2e_until [ "$(e2e_clipboard)" != "-" ] || fail "Ctrl+Shift+H copied nothing at scale $scale"
  e2e_clipboard
}

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
    xdotool click 1
    e2e_until magnifier_closed || fail "magnifier still open after the click at scale $scale"
    got=$(current_html)
    [ "$got" = "$(colour_at "$1" "$2" "$3")" ] ||
      fail "click on screen $1 at $2,$3, scale $scale, took $got, not $(colour_at "$1" "$2" "$3")"
  done
  xdotool key --clearmodifiers ctrl+q
  e2e_wait_exit
done
echo "screen_pick_screens: ok"
