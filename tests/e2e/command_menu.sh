#!/usr/bin/env bash
# The command menu on a real window: a right click on the swatch opens it and the srgb switch is
# turned from it with the keyboard; F10 with the focus in the POV-Ray field opens it on its first
# entry, "Paste colour", which takes the clipboard's colour.
# Arguments: the pigmora executable, the build folder (the screenshot goes there).
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2

e2e_xvfb
e2e_launch "$exe"

xdotool mousemove --window "$E2E_WID" 332 155 click 3   # right click on the swatch
sleep 0.4
import -window root "$build/e2e-command-menu.png" || true
# "Paste colour" is disabled (empty clipboard) and skipped: the first entry reached is the switch.
xdotool key Down Return                                 # "srgb (POV-Ray 3.7 gamma)"
sleep 0.3
e2e_click 53 108       # "rgb"
got=$(e2e_clipboard)
[ "$got" = "srgb <0.596, 0.71, 0.82>" ] || fail "after the switch the rgb copy gives '$got'"

printf '#102030' | xclip -selection clipboard -i
sleep 0.3
e2e_click 150 56       # focus into the POV-Ray field
xdotool key F10
sleep 0.4
xdotool key Return                                      # "Paste colour", the first entry, is current
sleep 0.3
e2e_click 53 260       # "HTML"
got=$(e2e_clipboard)
[ "$got" = "#102030" ] || fail "after the paste the HTML copy gives '$got'"

e2e_click 332 257      # "Exit"
e2e_wait_exit
echo "command_menu: ok"
