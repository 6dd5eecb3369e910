#!/usr/bin/env bash
# `pigmora --pick` on X11: the magnifier, a click, the colour on standard output (as --to says)
# and exit 0; Escape exits 1 with nothing on standard output; no settings file is written.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

e2e_xvfb
xsetroot -solid '#123456'
mkdir -p -m 0755 "$E2E_TMP/app" && cp "$exe" "$E2E_TMP/app/pigmora"
magnifier_open() { xdotool search --onlyvisible --name '^Pick from screen$' >/dev/null 2>&1; }

pick() {
  "$E2E_TMP/app/pigmora" --pick "$@" >"$E2E_TMP/out" 2>"$E2E_TMP/err" &
  E2E_APP_PID=$!
  e2e_until magnifier_open || fail "no magnifier for --pick $*"
  xdotool mousemove 1100 900
  sleep 0.3
}
# Waits for the pick to end; its exit status goes to $status.
finish() {
  status=0
  timeout 10 tail --pid="$E2E_APP_PID" -f /dev/null || fail "--pick did not end"
  wait "$E2E_APP_PID" || status=$?
  E2E_APP_PID=""
}

pick
xdotool click 1
finish
[ "$status" -eq 0 ] || fail "a pick exited $status: $(cat "$E2E_TMP/err")"
[ "$(cat "$E2E_TMP/out")" = "#123456" ] || fail "--pick printed '$(cat "$E2E_TMP/out")'"

# A named colour is #RRGGBB too; --to html keeps the main window's text.
xsetroot -solid '#FFFFFF'
pick
xdotool click 1
finish
[ "$(cat "$E2E_TMP/out")" = "#FFFFFF" ] || fail "--pick of white printed '$(cat "$E2E_TMP/out")'"
pick --to html
xdotool click 1
finish
[ "$(cat "$E2E_TMP/out")" = "White" ] || fail "--pick --to html of white printed '$(cat "$E2E_TMP/out")'"
xsetroot -solid '#123456'

pick --to oklch,css-rgb
xdotool key Return
finish
[ "$status" -eq 0 ] || fail "a pick with --to exited $status: $(cat "$E2E_TMP/err")"
[ "$(cat "$E2E_TMP/out")" = $'oklch(0.32 0.0725 251)\nrgb(18 52 86)' ] || fail "--pick --to printed '$(cat "$E2E_TMP/out")'"

pick
xdotool key Escape
finish
[ "$status" -eq 1 ] || fail "Escape exited $status, not 1"
[ ! -s "$E2E_TMP/out" ] || fail "Escape printed '$(cat "$E2E_TMP/out")'"
[ -z "$(ls "$E2E_TMP/app" | grep -v '^pigmora$')" ] || fail "--pick wrote a file beside the program"
[ ! -e "$E2E_TMP/config/pigmora" ] || fail "--pick wrote a per-user settings file"

# --open (the desktop entry's action): the window starts with the colour taken.
xsetroot -solid '#654321'
pick --open
xdotool click 1
finish
[ "$status" -eq 0 ] || fail "--pick --open exited $status: $(cat "$E2E_TMP/err")"
E2E_WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pigmora$' | head -n1) || fail "--open started no window"
E2E_APP_PID=$(pgrep -f "$E2E_TMP/app/pigmora" | head -n1)
e2e_click 53 260       # "HTML"
[ "$(e2e_clipboard)" = "#654321" ] || fail "the window opened with '$(e2e_clipboard)'"
e2e_click 332 257      # "Exit"
timeout 10 tail --pid="$E2E_APP_PID" -f /dev/null || fail "the window did not end"
E2E_APP_PID=""
echo "pick_command: ok"
