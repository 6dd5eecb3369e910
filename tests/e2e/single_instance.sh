#!/usr/bin/env bash
# One window per user on a private session bus: a second start hands its colour to the running
# window and ends without a window of its own; only the one window stores the settings.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2
ini="$E2E_TMP/app/pigmora.ini"

e2e_xvfb
e2e_session_bus

e2e_launch "$exe"
e2e_until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
  org.freedesktop.DBus.GetNameOwner string:org.pigmora.Pigmora >/dev/null 2>&1 || fail "the first start holds no name"

start=$(date +%s%N)
timeout 20 "$E2E_TMP/app/pigmora" '#123456' >"$E2E_TMP/second.log" 2>&1 || fail "the second start failed: $(cat "$E2E_TMP/second.log")"
echo "second start handed over in $(( ($(date +%s%N) - start) / 1000000 )) ms"
[ "$(xdotool search --onlyvisible --name '^Pigmora$' | wc -l)" -eq 1 ] || fail "a second window"

e2e_click 53 260       # "HTML"
got=$(e2e_clipboard)
[ "$got" = "#123456" ] || fail "the running window shows '$got', not the handed colour"
[ ! -e "$ini" ] || fail "a settings file before the one window closed"

e2e_click 332 257      # "Exit"
e2e_wait_exit
colour=$(awk '/^\[Form\\fMyColor\]/ {s=1; next} /^\[/ {s=0} s && /^Integer=/ {sub(/^Integer=/, ""); print}' "$ini")
[ "$colour" = 5649426 ] || fail "stored colour $colour"

# With the first gone the name is free again: the next start is the first.
e2e_launch "$exe"
e2e_click 332 257      # "Exit"
e2e_wait_exit
echo "single_instance: ok"
