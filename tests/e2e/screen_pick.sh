#!/usr/bin/env bash
# The screen eyedropper on X11: Ctrl+Shift+E, a click over a painted root window, and the HTML
# copy shows that colour; Escape leaves everything as it was. Then the same from the picker
# window's button, where the selected cell takes the colour and OK hands it back.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
# Reading the screen ourselves is the way on a plain X server.
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

e2e_xvfb
xsetroot -solid '#123456'
e2e_launch "$exe"
xdotool windowfocus --sync "$E2E_WID"

# Away from both windows (the picker window opens centred on the 1280 x 1024 screen).
pick_at() {
  xdotool mousemove 1100 900
  sleep 0.3
  xdotool mousemove 1120 910
  sleep 0.3
}
magnifier_open() { xdotool search --onlyvisible --name '^Pick from screen$' >/dev/null 2>&1; }

xdotool key --clearmodifiers ctrl+shift+e
sleep 0.5
magnifier_open || fail "no magnifier after Ctrl+Shift+E"
pick_at
xdotool click 1
sleep 0.3
magnifier_open && fail "magnifier still open after the click"
e2e_click 53 260       # "HTML"
got=$(e2e_clipboard)
[ "$got" = "#123456" ] || fail "after the pick the HTML copy gives '$got'"

# Escape: another colour under the pointer, but nothing changes.
xsetroot -solid '#abcdef'
echo -n "kept" | xclip -selection clipboard
xdotool windowfocus --sync "$E2E_WID"
xdotool key --clearmodifiers ctrl+shift+e
sleep 0.5
magnifier_open || fail "no magnifier for the second pick"
pick_at
xdotool key Escape
sleep 0.3
magnifier_open && fail "magnifier still open after Escape"
[ "$(e2e_clipboard)" = "kept" ] || fail "Escape changed the clipboard"
e2e_click 53 260
got=$(e2e_clipboard)
[ "$got" = "#123456" ] || fail "after Escape the HTML copy gives '$got'"

# The picker window: its button takes the colour into the selected cell.
e2e_click 197 24       # "(Photoshop)"
picker=""
for _ in $(seq 50); do
  picker=$(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null | grep -v "^$E2E_WID\$" | head -n1) || true
  [ -n "$picker" ] && break
  sleep 0.1
done
[ -n "$picker" ] || fail "no picker window"
eval "$(xdotool getwindowgeometry --shell "$picker")"
[ "$WIDTH" -eq 439 ] || fail "picker window is $WIDTH wide"
# Escape during the pick cancels the pick and leaves the picker window open.
xdotool mousemove --window "$picker" 155 293 click 1
sleep 0.5
magnifier_open || fail "no magnifier from the picker window"
pick_at
xdotool key Escape
sleep 0.3
magnifier_open && fail "magnifier still open after Escape in the picker"
xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null | grep -q "^$picker\$" || fail "Escape closed the picker window"

xdotool mousemove --window "$picker" 155 293 click 1
sleep 0.5
pick_at
xdotool click 1
sleep 0.3
xdotool mousemove --window "$picker" 308 292 click 1   # "O K"
sleep 0.5
e2e_click 53 260
got=$(e2e_clipboard)
[ "$got" = "#ABCDEF" ] || fail "after the picker's pick the HTML copy gives '$got'"

e2e_click 332 257      # "Exit"
e2e_wait_exit
echo "screen_pick: ok"
