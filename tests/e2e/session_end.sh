#!/usr/bin/env bash
# SIGTERM and SIGHUP, as at the end of a desktop session, close the window as "Exit" does: the
# stored file is byte for byte what "Exit" stores for the same window; a second signal during the
# close leaves it whole.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
ini="$E2E_TMP/app/pigmora.ini"

e2e_xvfb
# Starts the program, gives it a random colour and a position, and ends it with the signals given.
end_by() {
  e2e_launch "$exe"
  e2e_click 246 203      # "ra1"
  xdotool windowmove --sync "$E2E_WID" "$1" "$2"
  sleep 0.2
  shift 2
  for s in "$@"; do kill -s "$s" "$E2E_APP_PID"; done
  e2e_wait_exit
  [ -f "$ini" ] || fail "nothing stored after $*"
  cp "$ini" "$E2E_TMP/by-signal.ini"
}
# Starts the program on the stored file and ends it with "Exit".
exit_again() {
  e2e_launch "$exe"
  e2e_click 332 257      # "Exit"
  e2e_wait_exit
  cmp -s "$ini" "$E2E_TMP/by-signal.ini" || {
    diff "$E2E_TMP/by-signal.ini" "$ini" >&2 || true
    fail "$1 stored another file than Exit"
  }
}

end_by 300 250 TERM
grep -q '^Top=250$' "$ini" && grep -q '^Left=300$' "$ini" || fail "position not stored by SIGTERM"
exit_again SIGTERM

end_by 200 150 HUP
grep -q '^Top=150$' "$ini" || fail "position not stored by SIGHUP"
exit_again SIGHUP

end_by 250 200 TERM TERM HUP
grep -q '^Top=200$' "$ini" || fail "position not stored with three signals"
exit_again "three signals"
echo "session_end: ok"
