#!/usr/bin/env bash
# The judging window on a real display, from the keyboard alone: #777777 on white fails WCAG AA
# (4.47:1); with AA chosen, Alt+U makes the nearest passing colour current, and the main window
# then holds #767676 (4.54:1), the nearest grey that passes.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1

e2e_xvfb
e2e_launch "$exe"
printf '%s' '#777777' | xclip -selection clipboard -i
sleep 0.3
xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || true
e2e_click 150 56       # into the POV-Ray field
xdotool key --clearmodifiers ctrl+shift+v
# The swatch shows the pasted colour once the paste is done.
swatch() { import -window "$E2E_WID" -crop 1x1+330+150 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1; }
e2e_until [ "$(swatch)" = "#777777" ] || fail "the colour was not pasted (the swatch shows $(swatch))"
[ "$(e2e_current_html)" = "#777777" ] || fail "the pasted colour is '$(e2e_current_html)'"

xdotool windowfocus --sync "$E2E_WID"
xdotool key --clearmodifiers ctrl+shift+i
judge=$(timeout 10 xdotool search --sync --onlyvisible --name '^Pigmora Judge$' | head -n1) \
  || fail "Ctrl+Shift+I opened no judging window"
xdotool windowactivate --sync "$judge" 2>/dev/null || xdotool windowfocus --sync "$judge"
sleep 0.3
# Alt+T reaches the target list; Home chooses its first entry, WCAG AA (4.5).
xdotool key --clearmodifiers alt+t Home
sleep 0.2
xdotool key --clearmodifiers alt+u
# Reading the main window's colour moves the focus there: the press is given its time in the
# judging window first.
sleep 0.5
e2e_until [ "$(e2e_current_html)" = "#767676" ] || fail "the nearest passing colour is '$(e2e_current_html)', not #767676"

# The contrast the program now reports for it passes AA.
got=$("$exe" --contrast '#767676' '#FFFFFF' | head -n1)
case "$got" in *"AA passes"*) ;; *) fail "--contrast says '$got'" ;; esac

xdotool windowfocus --sync "$E2E_WID"
xdotool key --clearmodifiers ctrl+q
e2e_wait_exit
echo "judge_fix: ok"
