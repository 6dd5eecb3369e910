#!/usr/bin/env bash
# Colours set with ra1 are kept in the history across a restart, newest first behind the colour
# they replaced; the keyboard reaches the history in the Notations window and makes one current.
# Arguments: the pigmora executable, the build folder (the screenshot goes there).
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2
ini="$E2E_TMP/app/pigmora.ini"

e2e_xvfb
e2e_launch "$exe"
e2e_click 246 203      # "ra1"
e2e_click 246 203      # "ra1"
e2e_click 53 260       # "HTML"
newest=$(e2e_clipboard)
e2e_click 332 257      # "Exit"
e2e_wait_exit
history=$(awk '/^\[Form\\History\]/ {s=1; next} /^\[/ {s=0} s && /^Colours=/ {sub(/^Colours=/, ""); print}' "$ini")
IFS=, read -r first second third rest <<<"$history"
[ "$first" = "$newest" ] || fail "history '$history' does not start with the newest colour $newest"
[ "$third" = "#98B5D1" ] || fail "history '$history' lost the colour the first ra1 replaced"
[ -z "${rest:-}" ] || fail "history '$history' holds more than the three colours"

e2e_launch "$exe"
xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+shift+n
notations=$(timeout 10 xdotool search --sync --onlyvisible --name '^Pigmora Notations$' | head -n1) \
  || fail "the Notations window did not open"
xdotool windowfocus --sync "$notations" 2>/dev/null || true
sleep 0.3
xdotool key --clearmodifiers alt+y Tab space   # the second colour of the history
sleep 0.3
import -window "$notations" "$build/e2e-history-kept.png" || true
e2e_click 53 260       # "HTML"
got=$(e2e_clipboard)
[ "$got" = "$second" ] || fail "the history's second colour made '$got' current, expected $second"
e2e_click 332 257      # "Exit"
e2e_wait_exit
echo "history_kept: ok"
