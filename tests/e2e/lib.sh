# Shared helpers of the real-window checks: a private Xvfb, the program started from a copy in a
# scratch folder (so its settings file lands there), and cleanup on every exit.
# Usage in a check: source lib.sh; e2e_start "$1" "$2"; ... ; e2e_finish
set -euo pipefail

E2E_TMP=$(mktemp -d)
# The program speaks the desktop's language through Qt's translations: the checks pick theirs
# (E2E_LANG) instead of inheriting the caller's.
export LANG=${E2E_LANG:-C.UTF-8}
unset LC_ALL LANGUAGE
# Under the sanitizer build: leaks inside system libraries are not ours.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
E2E_XVFB_PID=""
E2E_APP_PID=""

e2e_cleanup() {
  [ -n "$E2E_APP_PID" ] && kill "$E2E_APP_PID" 2>/dev/null || true
  [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$E2E_TMP/app.log" ] && { echo "--- program output:" >&2; tail -n 40 "$E2E_TMP/app.log" >&2; }
  exit 1
}

# Starts Xvfb on a display it picks itself; arguments are added to its own (more screens).
e2e_xvfb() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 "$@" -noreset -nolisten tcp 3>"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
  E2E_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$E2E_TMP/display" ] && break
    sleep 0.05
  done
  [ -s "$E2E_TMP/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
  export XDG_CONFIG_HOME="$E2E_TMP/config" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

# Copies the program into the scratch folder (once) and starts it; sets E2E_WID to its window.
e2e_launch() {
  local exe=$1
  [ -x "$E2E_TMP/app/pigmora" ] || { mkdir -p -m 0755 "$E2E_TMP/app" && cp "$exe" "$E2E_TMP/app/pigmora"; }
  "$E2E_TMP/app/pigmora" >"$E2E_TMP/app.log" 2>&1 &
  E2E_APP_PID=$!
  E2E_WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pigmora$' | head -n1) || fail "no main window"
}

# Clicks at a point of the main window's client area.
e2e_click() {
  xdotool mousemove --window "$E2E_WID" "$1" "$2" click 1
  sleep 0.15
}

# Waits for the program to end and checks its exit status.
e2e_wait_exit() {
  local status=0
  timeout 10 tail --pid="$E2E_APP_PID" -f /dev/null || fail "program did not end"
  wait "$E2E_APP_PID" || status=$?
  E2E_APP_PID=""
  [ "$status" -eq 0 ] || fail "exit status $status"
}

e2e_clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }

# Runs a command every 50 ms until it succeeds, for at most 10 s; fails if it never does.
e2e_until() {
  for _ in $(seq 200); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}
