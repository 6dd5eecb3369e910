#!/usr/bin/env bash
# SIGTERM and SIGHUP, as at the end of a desktop session, close the window as "Exit" does: after
# the same steps the stored file is byte for byte what "Exit" stores; further signals during the
# close leave it whole.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
ini="$E2E_TMP/app/pigmora.ini"

e2e_xvfb
# From no settings file: restores a colour, moves the window, then ends the program with the
# given signals, or with "Exit" when none are given. The stored file is copied to $1.
session() {
  local keep=$1
  shift
  rm -f "$ini"
  e2e_launch "$exe"
  e2e_click 150 56                       # POV-Ray field
  xdotool key --window "$E2E_WID" ctrl+a BackSpace
  xdotool type --window "$E2E_WID" --delay 20 'rgb <0.5, 0.25, 1>'
  e2e_click 331 57                       # "restore"
  xdotool windowmove --sync "$E2E_WID" 300 250
  sleep 0.2
  if [ $# -eq 0 ]; then
    e2e_click 332 257                    # "Exit"
  else
    for s in "$@"; do kill -s "$s" "$E2E_APP_PID"; done
  fi
  e2e_wait_exit
  [ -f "$ini" ] || fail "nothing stored after ${*:-Exit}"
  cp "$ini" "$keep"
}

session "$E2E_TMP/exit.ini"
grep -q '^Top=250$' "$E2E_TMP/exit.ini" || fail "Exit did not store the position"
grep -q '^Integer=16728192$' "$E2E_TMP/exit.ini" || fail "Exit did not store the colour"
for signals in TERM HUP "TERM TERM HUP"; do
  # shellcheck disable=SC2086
  session "$E2E_TMP/signal.ini" $signals
  cmp -s "$E2E_TMP/exit.ini" "$E2E_TMP/signal.ini" || {
    diff "$E2E_TMP/exit.ini" "$E2E_TMP/signal.ini" >&2 || true
    fail "SIG${signals// /+SIG} stored another file than Exit"
  }
done
echo "session_end: ok"
