#!/usr/bin/env bash
# A CSS hsl() colour put on the clipboard by another program is pasted with Ctrl+Shift+V; the
# HTML copy then gives its #RRGGBB.
# Arguments: the pigmora executable, the build folder (the screenshot goes there).
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2

e2e_xvfb
e2e_launch "$exe"

printf 'hsl(210, 40%%, 70%%)' | xclip -selection clipboard -i
sleep 0.3
xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || true
e2e_click 150 56       # into the POV-Ray field: the paste works wherever the focus is
xdotool key --clearmodifiers ctrl+shift+v
sleep 0.5
e2e_click 53 260       # "HTML"
got=$(e2e_clipboard)
[ "$got" = "#94B3D1" ] || fail "HTML copy gives '$got'"

import -window "$E2E_WID" "$build/e2e-paste-hsl.png" || true
e2e_click 332 257      # "Exit"
e2e_wait_exit
echo "paste_hsl: ok"
