#!/usr/bin/env bash
# The desktop-wide key through an X11 key grab (no portal on the private bus): with the window
# off the screen, Super+Shift+C opens the magnifier, a second press does not start a second pick,
# the click makes the colour current, copies it and shows a notification with its swatch. A
# second program finds the key taken and takes the nearest free one; a chosen key that is taken
# is said once. The settings file gains nothing the user did not change.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
ini="$E2E_TMP/app/pigmora.ini"

e2e_xvfb
e2e_session_bus
others=()
trap 'kill "${others[@]}" 2>/dev/null || true; e2e_cleanup' EXIT
"$build/tests/fake_desktop" notifications >"$E2E_TMP/desktop.log" 2>&1 &
others+=($!)
e2e_until grep -q '^ready$' "$E2E_TMP/desktop.log" || fail "the fake notification server did not start"

mkdir -p -m 0755 "$E2E_TMP/app"
printf '[Form\\DesktopKey]\nOn=1\n' >"$ini"
xsetroot -solid '#123456'
e2e_launch "$exe"
e2e_until grep -q 'the desktop-wide key is Super+Shift+C' "$E2E_TMP/app.log" || fail "the key was not bound"

# Off the screen: no window manager runs here to minimise it, so it is unmapped behind its back.
xdotool windowunmap --sync "$E2E_WID"
xdotool mousemove 1100 900
magnifier_open() { xdotool search --onlyvisible --name '^Pick from screen$' >/dev/null 2>&1; }
magnifier_count() { xdotool search --onlyvisible --name '^Pick from screen$' 2>/dev/null | wc -l; }
# Super_L, Shift_L, c pressed through XTEST; the time until the magnifier is mapped is reported.
elapsed=$("$build/tests/key_to_map" 0xffeb 0xffe1 0x63) || fail "no window mapped after Super+Shift+C"
e2e_until magnifier_open || fail "no magnifier after Super+Shift+C"
echo "global key to magnifier on screen: $elapsed ms"

# Pressed again while the magnifier is open: the same pick goes on.
xdotool key super+shift+c
sleep 0.3
[ "$(magnifier_count)" -eq 1 ] || fail "a second magnifier"
xdotool mousemove 1120 910
sleep 0.3
xdotool click 1
e2e_until [ "$(e2e_clipboard)" = "#123456" ] || fail "the clipboard holds '$(e2e_clipboard)'"
magnifier_open && fail "magnifier still open after the click"
e2e_until grep -q '^notify ' "$E2E_TMP/desktop.log" || fail "no notification"
grep '^notify ' "$E2E_TMP/desktop.log" | grep -qx 'notify Colour picked and copied|#123456|64x64|#123456' \
  || fail "notification: $(grep '^notify ' "$E2E_TMP/desktop.log")"
[ "$(grep -c '^notify ' "$E2E_TMP/desktop.log")" -eq 1 ] || fail "more than one notification for one pick"

# Another program (on no bus, so not handed over) finds the key taken: it takes the nearest free one.
second="$E2E_TMP/second"
mkdir -p -m 0755 "$second"
cp "$exe" "$second/pigmora"
printf '[Form\\DesktopKey]\nOn=1\n' >"$second/pigmora.ini"
DBUS_SESSION_BUS_ADDRESS= "$second/pigmora" >"$E2E_TMP/second.log" 2>&1 &
others+=($!)
e2e_until grep -q 'the desktop-wide key is Super+Ctrl+C' "$E2E_TMP/second.log" || fail "second: $(cat "$E2E_TMP/second.log")"

# A third asks for that key by name: it is taken, which is said once, and the program runs on.
third="$E2E_TMP/third"
mkdir -p -m 0755 "$third"
cp "$exe" "$third/pigmora"
printf '[Form\\DesktopKey]\nOn=1\nKey=Meta+Ctrl+C\n' >"$third/pigmora.ini"
DBUS_SESSION_BUS_ADDRESS= "$third/pigmora" >"$E2E_TMP/third.log" 2>&1 &
third_pid=$!
others+=($third_pid)
e2e_until grep -q 'The desktop-wide key Super+Ctrl+C is taken by another program' "$E2E_TMP/third.log" \
  || fail "third: $(cat "$E2E_TMP/third.log")"
sleep 0.5
kill -0 "$third_pid" || fail "the third program ended"
[ "$(grep -c 'is taken' "$E2E_TMP/third.log")" -eq 1 ] || fail "the message was said more than once"

# The end of the session stores the settings as the close does; of the key's only what was there.
kill -TERM "$E2E_APP_PID"
e2e_wait_exit
grep -q '^On=1$' "$ini" || fail "the switch was lost"
grep -qE '^(Key|Notation|Tray)=' "$ini" && fail "settings the user never changed were written"
colour=$(awk '/^\[Form\\fMyColor\]/ {s=1; next} /^\[/ {s=0} s && /^Integer=/ {sub(/^Integer=/, ""); print}' "$ini")
[ "$colour" = 5649426 ] || fail "stored colour $colour"
echo "global_key: ok"
