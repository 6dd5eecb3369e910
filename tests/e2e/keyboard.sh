#!/usr/bin/env bash
# Keyboard only, with the focus in the POV-Ray field: the Menu key opens the edit's own menu,
# F10 the command menu, Ctrl+O the colour dialog and Ctrl+Shift+C copies the rgb notation.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1

e2e_xvfb
e2e_launch "$exe"
e2e_click 150 56       # into the POV-Ray field

popups() { xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null | grep -vc "^$E2E_WID\$" || true; }
menu_open() { [ "$(popups)" -ge 1 ]; }
menu_closed() { [ "$(popups)" -eq 0 ]; }

xdotool key Menu
e2e_until menu_open || fail "the Menu key opened no menu"
xdotool key Escape
e2e_until menu_closed || fail "Escape left a menu open"

xdotool key F10
e2e_until menu_open || fail "F10 opened no menu"
xdotool key Escape
e2e_until menu_closed || fail "Escape left the command menu open"

xdotool key --clearmodifiers ctrl+o
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name 'Select Colou?r' | head -n1) || fail "no colour dialog"
xdotool windowfocus --sync "$dialog" key Return
sleep 0.4
xdotool windowfocus --sync "$E2E_WID"
xdotool key --clearmodifiers ctrl+shift+c
sleep 0.2
got=$(e2e_clipboard)
[ "$got" = "rgb <0.596, 0.71, 0.82>" ] || fail "Ctrl+Shift+C put '$got' on the clipboard"

xdotool key --clearmodifiers ctrl+q
e2e_wait_exit
echo "keyboard: ok"
