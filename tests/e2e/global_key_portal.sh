#!/usr/bin/env bash
# The desktop-wide key through the portal's global shortcuts (a fake portal on a private bus):
# the shortcut is bound with the preferred trigger, its activation picks, copies in the chosen
# notation and notifies. A portal that goes away, and one that refuses, are said once; the
# program runs on.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
ini="$E2E_TMP/app/pigmora.ini"

e2e_xvfb
e2e_session_bus
fake_pid=""
trap 'kill $fake_pid 2>/dev/null || true; e2e_cleanup' EXIT
start_fake() {
  "$build/tests/fake_desktop" notifications "$1" >"$E2E_TMP/desktop.log" 2>&1 &
  fake_pid=$!
  e2e_until grep -q '^ready$' "$E2E_TMP/desktop.log" || fail "the fake desktop did not start"
}
magnifier_open() { xdotool search --onlyvisible --name '^Pick from screen$' >/dev/null 2>&1; }
fire() {
  dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop /org/pigmora/Fake org.pigmora.Fake.Fire >/dev/null
}

start_fake shortcuts
mkdir -p -m 0755 "$E2E_TMP/app"
printf '[Form\\DesktopKey]\nOn=1\nKey=Ctrl+Alt+F7\nNotation=oklch\n' >"$ini"
xsetroot -solid '#ff0000'
e2e_launch "$exe"
e2e_until grep -q '^bind CTRL+ALT+F7$' "$E2E_TMP/desktop.log" || fail "bound: $(cat "$E2E_TMP/desktop.log")"
e2e_until grep -q 'the desktop-wide key is Fake+CTRL+ALT+F7' "$E2E_TMP/app.log" || fail "the portal's key was not taken"
xdotool windowunmap --sync "$E2E_WID"
xdotool mousemove 1100 900
fire
e2e_until magnifier_open || fail "no magnifier after the portal's activation"
fire   # a second activation while the pick runs starts nothing
sleep 0.3
[ "$(xdotool search --onlyvisible --name '^Pick from screen$' | wc -l)" -eq 1 ] || fail "a second magnifier"
xdotool mousemove 1120 910
sleep 0.3
xdotool click 1
e2e_until [ "$(e2e_clipboard)" = "oklch(0.628 0.2577 29.23)" ] || fail "the clipboard holds '$(e2e_clipboard)'"
e2e_until grep -q '^notify ' "$E2E_TMP/desktop.log" || fail "no notification"
grep -qx 'notify Colour picked and copied|oklch(0.628 0.2577 29.23)|64x64|#FF0000' "$E2E_TMP/desktop.log" \
  || fail "notification: $(grep '^notify ' "$E2E_TMP/desktop.log")"

# The portal goes away: said once, and the program runs on.
kill "$fake_pid"
wait "$fake_pid" 2>/dev/null || true
fake_pid=""
e2e_until grep -q "The desktop's portal went away" "$E2E_TMP/app.log" || fail "the portal's end was not said"
sleep 0.5
kill -0 "$E2E_APP_PID" || fail "the program ended with the portal"
[ "$(grep -c "portal went away" "$E2E_TMP/app.log")" -eq 1 ] || fail "said more than once"
kill -TERM "$E2E_APP_PID"
e2e_wait_exit
grep -q '^Key=Ctrl+Alt+F7$' "$ini" || fail "the key was lost"

# A portal that refuses: said once, no key, the window as ever.
start_fake shortcuts-refuse
e2e_launch "$exe"
e2e_until grep -q 'The desktop refused the desktop-wide key' "$E2E_TMP/app.log" || fail "the refusal was not said"
kill -0 "$E2E_APP_PID" || fail "the program ended"
kill -TERM "$E2E_APP_PID"
e2e_wait_exit
echo "global_key_portal: ok"
