#!/usr/bin/env bash
# An OKLCH colour outside sRGB, pasted with Ctrl+Shift+V: the main window shows the sRGB colour that
# CSS gamut mapping gives; the Notations window opens and says its marked rows show that fallback.
# Arguments: the pigmora executable, the build folder (the screenshot goes there).
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2

e2e_xvfb
e2e_launch "$exe"

printf 'oklch(0.7 0.3 30)' | xclip -selection clipboard -i
sleep 0.3
xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || true
e2e_click 150 56       # into the POV-Ray field
xdotool key --clearmodifiers ctrl+shift+v
notations=$(timeout 10 xdotool search --sync --onlyvisible --name '^Pigmora Notations$' | head -n1) \
  || fail "the Notations window did not open"
sleep 0.5
import -window "$notations" "$build/e2e-paste-oklch-notations.png" || true

xdotool mousemove --window "$notations" 40 18 click 1   # the note above the rows
sleep 0.2
xdotool key --clearmodifiers ctrl+a ctrl+c
sleep 0.3
got=$(e2e_clipboard)
[ "$got" = "outside sRGB: the marked rows show the sRGB fallback" ] || fail "the note reads '$got'"

e2e_click 53 260       # "HTML"
got=$(e2e_clipboard)
[ "$got" = "#FF5843" ] || fail "HTML copy gives '$got'"

e2e_click 332 257      # "Exit"
e2e_wait_exit
grep -q '^\[Form\\Notations\]' "$E2E_TMP/app/pigmora.ini" || fail "the window's section was not stored"
echo "paste_oklch: ok"
