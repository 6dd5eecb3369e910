#!/usr/bin/env bash
# Out of sight: `pigmora --background` shows no window and puts its item on the tray (a fake
# StatusNotifierWatcher on a private bus); the item's menu, driven over D-Bus, picks, lists the
# picked colour (a click copies it), opens the window and quits, storing the settings. A start
# while it runs shows the window; SIGTERM stores as the close does. Without a tray host it says
# so once and runs on.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
ini="$E2E_TMP/app/pigmora.ini"
fake="$build/tests/fake_desktop"

e2e_xvfb
e2e_session_bus
fake_pid=""
trap 'kill $fake_pid 2>/dev/null || true; e2e_cleanup' EXIT
"$fake" notifications watcher >"$E2E_TMP/desktop.log" 2>&1 &
fake_pid=$!
e2e_until grep -q '^ready$' "$E2E_TMP/desktop.log" || fail "the fake desktop did not start"

mkdir -p -m 0755 "$E2E_TMP/app"
cp "$exe" "$E2E_TMP/app/pigmora"
background() {
  "$E2E_TMP/app/pigmora" --background >"$E2E_TMP/app.log" 2>&1 &
  E2E_APP_PID=$!
  e2e_until grep -q 'the desktop-wide key is' "$E2E_TMP/app.log" || fail "no key in the background"
}
windows() { xdotool search --onlyvisible --name '^Pigmora$' 2>/dev/null | wc -l; }
magnifier_open() { xdotool search --onlyvisible --name '^Pick from screen$' >/dev/null 2>&1; }

background
e2e_until grep -q '^item ' "$E2E_TMP/desktop.log" || fail "no tray item registered"
item=$(grep '^item ' "$E2E_TMP/desktop.log" | tail -n1 | cut -d' ' -f2)
[ "$(windows)" -eq 0 ] || fail "a window in the background"
menu=$("$fake" menu "$item") || fail "no menu: $menu"
for entry in "Pick from screen" "Recent colours" "Open Pigmora" "Notations" "Desktop-wide key…" "Quit"; do
  grep -qxF "$entry" <<<"$(sed 's/^ *//; s/&//g' <<<"$menu")" || fail "menu lacks '$entry': $menu"
done

# "Pick from screen" from the menu: the colour is copied, notified, and heads the recent colours.
xsetroot -solid '#2468ac'
xdotool mousemove 1100 900
"$fake" menu "$item" "Pick from screen" || fail "the menu's pick did not run"
e2e_until magnifier_open || fail "no magnifier from the tray"
xdotool mousemove 1120 910
sleep 0.3
xdotool click 1
e2e_until [ "$(e2e_clipboard)" = "#2468AC" ] || fail "the clipboard holds '$(e2e_clipboard)'"
e2e_until grep -q '^notify .*|#2468AC|64x64|#2468AC$' "$E2E_TMP/desktop.log" || fail "no notification"
e2e_until bash -c '"$0" menu "$1" | grep -q "^  #2468AC$"' "$fake" "$item" || fail "not among the recent colours: $("$fake" menu "$item")"
echo -n "-" | xclip -selection clipboard
"$fake" menu "$item" "#2468AC" || fail "the recent colour's entry did not run"
e2e_until [ "$(e2e_clipboard)" = "#2468AC" ] || fail "the recent colour was not copied"

# A second start shows the window of the first and ends.
timeout 20 "$E2E_TMP/app/pigmora" >"$E2E_TMP/second.log" 2>&1 || fail "the second start failed: $(cat "$E2E_TMP/second.log")"
e2e_until [ "$(windows)" -eq 1 ] || fail "the window was not shown"
# Closed, it goes back to the tray; the program runs on.
E2E_WID=$(xdotool search --onlyvisible --name '^Pigmora$' | head -n1)
sleep 0.5
e2e_click 332 257      # "Exit"
e2e_until [ "$(windows)" -eq 0 ] || fail "the window stayed"
sleep 0.3
kill -0 "$E2E_APP_PID" || fail "the program ended with its window"
"$fake" menu "$item" "Open Pigmora" || fail "the menu's open did not run"
e2e_until [ "$(windows)" -eq 1 ] || fail "Open Pigmora showed no window"

rm -f "$ini"
"$fake" menu "$item" "Quit" || fail "the menu's quit did not run"
e2e_wait_exit
colour=$(awk '/^\[Form\\fMyColor\]/ {s=1; next} /^\[/ {s=0} s && /^Integer=/ {sub(/^Integer=/, ""); print}' "$ini")
[ "$colour" = $((0xac68 * 256 + 0x24)) ] || fail "Quit stored colour '$colour'"

# SIGTERM in the background, the window never shown: stored as the close stores.
rm -f "$ini"
background
kill -TERM "$E2E_APP_PID"
e2e_wait_exit
[ -f "$ini" ] || fail "SIGTERM stored nothing"
grep -qE '^(On|Key|Notation|Tray)=' "$ini" && fail "the background run wrote the key's settings"

# No tray host: said once, and a later start still shows the window.
kill "$fake_pid"; wait "$fake_pid" 2>/dev/null || true; fake_pid=""
background
e2e_until grep -q 'This desktop shows no tray icons' "$E2E_TMP/app.log" || fail "no tray host was not said"
[ "$(grep -c 'shows no tray icons' "$E2E_TMP/app.log")" -eq 1 ] || fail "said more than once"
timeout 20 "$E2E_TMP/app/pigmora" >"$E2E_TMP/second.log" 2>&1 || fail "the second start failed"
# The box that says it has the program's name for its title too.
e2e_until [ "$(windows)" -eq 2 ] || fail "the window was not shown"
kill -TERM "$E2E_APP_PID"
e2e_wait_exit
echo "tray: ok"
