#!/usr/bin/env bash
# Opens the platform colour dialog, accepts it, copies the rgb notation and exits.
# Arguments: the pigmora executable, the build folder (the screenshot goes there).
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2

e2e_xvfb
e2e_launch "$exe"

e2e_click 78 24        # "Open(windows)"
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name 'Select Colou?r' | head -n1) || fail "no colour dialog"
xdotool windowfocus --sync "$dialog" key Return
sleep 0.3
e2e_click 53 108       # "rgb"
got=$(e2e_clipboard)
[ "$got" = "rgb <0.596, 0.71, 0.82>" ] || fail "clipboard holds '$got'"

import -window "$E2E_WID" "$build/e2e-main-window.png" || true
e2e_click 332 257      # "Exit"
e2e_wait_exit
echo "copy_rgb: ok"
