# Shared helpers of the real-window checks: a private Xvfb, the program started from a copy in a
# scratch folder (so its settings file lands there), and cleanup on every exit.
# Usage in a check: source lib.sh; e2e_start "$1" "$2"; ... ; e2e_finish
set -euo pipefail

E2E_TMP=$(mktemp -d)
# The program speaks the desktop's language through Qt's translations: the checks pick theirs
# (E2E_LANG) instead of inheriting the caller's.
export LANG=${E2E_LANG:-C.UTF-8}
unset LC_ALL LANGUAGE
# No session bus unless a check starts its own: a Pigmora of the user's desktop session would
# otherwise take the checked program's start as a second one.
unset DBUS_SESSION_BUS_ADDRESS
# Under the sanitizer build: leaks inside system libraries are not ours.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
E2E_XVFB_PID=""
E2E_APP_PID=""
E2E_BUS_PID=""

e2e_cleanup() {
  [ -n "$E2E_APP_PID" ] && kill "$E2E_APP_PID" 2>/dev/null || true
  [ -n "$E2E_BUS_PID" ] && kill "$E2E_BUS_PID" 2>/dev/null || true
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

# Starts a private session bus for the program and the desktop's stand-ins, and exports its
# address.
e2e_session_bus() {
  dbus-daemon --session --nofork --nopidfile --print-address=4 4>"$E2E_TMP/bus" 2>/dev/null &
  E2E_BUS_PID=$!
  e2e_until test -s "$E2E_TMP/bus" || fail "no session bus"
  export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$E2E_TMP/bus")
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

# The HTML form of the main window's current colour, as Ctrl+Shift+H copies it.
e2e_current_html() {
  echo -n "-" | xclip -selection clipboard >/dev/null 2>&1
  xdotool windowfocus --sync "$E2E_WID"
  xdotool key --clearmodifiers ctrl+shift+h
  e2e_until [ "$(e2e_clipboard)" != "-" ] || fail "Ctrl+Shift+H copied nothing"
  e2e_clipboard
}

# Paints the root window of the display with a pattern in which each pixel's colour says where
# it is: red x mod 256, green y mod 256, blue 16 * (x div 256) + y div 256 + extra (so
# neighbours always differ). Arguments: display, extra blue.
e2e_root_pattern() {
  local file="$E2E_TMP/pattern$2.png"
  [ -f "$file" ] || convert -size 1280x1024 xc:black -channel R -fx 'mod(i,256)/255' -channel G -fx 'mod(j,256)/255' \
    -channel B -fx "(floor(i/256)*16+floor(j/256)+$2)/255" +channel -depth 8 "$file"
  # display answers 1 once it has set the picture, which is there all the same.
  DISPLAY=$1 display -window root "$file" || true
}
# The colour e2e_root_pattern paints at x, y, as #RRGGBB. Arguments: x, y, extra blue.
e2e_pattern_at() { printf '#%02X%02X%02X' $(($1 % 256)) $(($2 % 256)) $(($1 / 256 * 16 + $2 / 256 + ${3:-0})); }
