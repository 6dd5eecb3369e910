#!/usr/bin/env bash
# The one-window service under hostile calls, on a private session bus: a text that is no colour
# (from a second start or straight over the bus) is answered at once with an error and opens
# nothing; rich text, control characters, huge and malformed messages likewise; 10,000 random
# and hostile calls leave it answering, with one window and a settings file that reads.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
raw="python3 $(dirname "$0")/dbus_raw.py"
ini="$E2E_TMP/app/pigmora.ini"

e2e_xvfb
e2e_session_bus
windows() { xdotool search --onlyvisible --name '^Pigmora$' 2>/dev/null | wc -l; }

e2e_launch "$exe"
e2e_until $raw ping || fail "the first start does not answer"

# A second start with a text that is no colour: its message, exit 1, nothing opened anywhere.
status=0
timeout -k 5 20 "$E2E_TMP/app/pigmora" 'no colour' >"$E2E_TMP/second.out" 2>"$E2E_TMP/second.err" || status=$?
[ "$status" -eq 1 ] || fail "the second start with no colour exited $status"
grep -qx "pigmora: 'no colour' is no colour Pigmora can read" "$E2E_TMP/second.err" || fail "its message: $(cat "$E2E_TMP/second.err")"
sleep 0.5
[ "$(windows)" -eq 1 ] || fail "$(windows) windows after a second start with no colour"
$raw ping || fail "no answer after a second start with no colour"

# Its control characters and bytes that are no UTF-8 are shown escaped.
status=0
timeout -k 5 20 "$E2E_TMP/app/pigmora" $'\e]2;pwned\a\xff' 2>"$E2E_TMP/second.err" || status=$?
[ "$status" -eq 1 ] || fail "the second start with escapes exited $status"
grep -qF "'\\x1B]2;pwned\\x07\\xFF' is no colour" "$E2E_TMP/second.err" || fail "escapes echoed: $(cat -v "$E2E_TMP/second.err")"

# Rich text naming a FIFO and an endless file: an error at once, nothing opened or read.
mkfifo "$E2E_TMP/fifo"
for text in "<img src=\"$E2E_TMP/fifo\">" '<img src="/dev/zero">'; do
  answer=$(DBUS_RAW_TIMEOUT=5 $raw call "$text") || fail "no answer to $text"
  [[ "$answer" == org.pigmora.Pigmora.Error.Unreadable:* ]] || fail "$text answered: $answer"
done
# 64 MiB: refused unread, and the service goes on answering.
answer=$(DBUS_RAW_TIMEOUT=30 $raw long 67108864) || fail "no answer to 64 MiB"
[[ "$answer" == org.pigmora.Pigmora.Error.TooLong:* ]] || fail "64 MiB answered: $answer"
$raw ping || fail "no answer after 64 MiB"

# 10,000 random and hostile calls, then a colour that reads.
start=$(date +%s%N)
summary=$($raw fuzz 10000 25 "$E2E_TMP/fifo") || fail "the fuzz calls were not all answered: $summary"
echo "10,000 calls answered in $(( ($(date +%s%N) - start) / 1000000 )) ms: $summary"
$raw ping || fail "no answer after the fuzz calls"
[ "$($raw call '#2468AC')" = ok ] || fail "a colour after the fuzz calls"
[ "$(windows)" -eq 1 ] || fail "$(windows) windows after the fuzz calls"
[ "$(e2e_current_html)" = "#2468AC" ] || fail "the window does not show the last colour"
e2e_click 332 257      # "Exit"
e2e_wait_exit
python3 - "$ini" <<'PY' || fail "the settings file does not read: $(head -c 2000 "$ini")"
import configparser, sys
p = configparser.ConfigParser(interpolation=None, strict=False)
p.optionxform = str
p.read_string(open(sys.argv[1], encoding="utf-8").read())
assert p["Form\\fMyColor"]["Integer"] == str(0xAC6824), p["Form\\fMyColor"]["Integer"]
PY

# Without the bus a start whose colour does not read shows its box; the end of the session
# (SIGTERM) still ends it, box and all.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_TMP/no-bus"
"$E2E_TMP/app/pigmora" 'no colour' >"$E2E_TMP/app.log" 2>&1 &
E2E_APP_PID=$!
for _ in $(seq 300); do [ "$(windows)" -eq 2 ] && break; sleep 0.1; done
[ "$(windows)" -eq 2 ] || fail "no window and box for a colour that does not read: $(windows) windows"
kill -TERM "$E2E_APP_PID"
timeout 10 tail --pid="$E2E_APP_PID" -f /dev/null || fail "SIGTERM did not end a start with its box open"
E2E_APP_PID=""
echo "service_hostile: ok"
