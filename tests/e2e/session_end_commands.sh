#!/usr/bin/env bash
# One SIGTERM, as a session manager sends at logout before it kills, ends the program and stores
# its settings whatever state a command left it in: for each entry of the command menu in turn
# (run from the keyboard, dialogs and windows it opens left open), then after the Notations
# window's history key and a copy, on a real window with the accessibility bus up as under a
# screen reader.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
ini="$E2E_TMP/app/pigmora.ini"

e2e_xvfb
# A private session bus, on which the accessibility bus starts when the program asks for it.
e2e_session_bus
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# Starts the program from no settings file, runs the keys given (xdotool key arguments, one
# group per argument, a pause after each), sends one SIGTERM and checks that the program ended
# by itself with its settings stored.
run() {
  local what=$1
  shift
  rm -f "$ini"
  e2e_launch "$exe"
  xdotool windowactivate --sync "$E2E_WID" 2>/dev/null || true
  for keys in "$@"; do
    # shellcheck disable=SC2086
    xdotool key --clearmodifiers $keys
    sleep 0.4
  done
  kill -s TERM "$E2E_APP_PID" 2>/dev/null || true
  if ! timeout 10 tail --pid="$E2E_APP_PID" -f /dev/null; then
    kill -s KILL "$E2E_APP_PID" 2>/dev/null || true
    fail "one SIGTERM did not end the program after $what"
  fi
  local status=0
  wait "$E2E_APP_PID" || status=$?
  E2E_APP_PID=""
  [ "$status" -eq 0 ] || fail "exit status $status after $what and SIGTERM"
  grep -q '^Top=' "$ini" 2>/dev/null || fail "nothing stored after $what and SIGTERM"
}

# The menu's 34 entries (its commands and the "Copy as" submenu) in order: F10 opens it on the
# first that can run, Down moves on to the next that can.
entries=34
for ((i = 0; i < entries; i++)); do
  downs=""
  for ((d = 0; d < i; d++)); do downs+="Down "; done
  if [ -n "$downs" ]; then
    run "command menu entry $((i + 1))" F10 "$downs" Return
  else
    run "command menu entry 1" F10 Return
  fi
done
run "Notations window, history key, copy" ctrl+shift+n alt+y ctrl+shift+h
run "Notations window, history key, copy, twice" ctrl+shift+n alt+y ctrl+shift+h ctrl+shift+n ctrl+shift+n alt+y
echo "session_end_commands: ok"
