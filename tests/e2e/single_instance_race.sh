#!/usr/bin/env bash
# Two starts released together, 50 rounds, on a private session bus: each round ends with exactly
# one window, which took its own colour and then the other start's, and the settings file is
# written by that window alone (holding both colours, the handed one current).
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
ini="$E2E_TMP/app/pigmora.ini"
rounds=${RACE_ROUNDS:-50}

e2e_xvfb
e2e_session_bus
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; e2e_cleanup' EXIT
mkdir -p -m 0755 "$E2E_TMP/app" && cp "$exe" "$E2E_TMP/app/pigmora"
windows() { xdotool search --onlyvisible --name '^Pigmora$' 2>/dev/null | wc -l; }
# The value of an entry: section and name.
stored() { S="[$1]" N="$2=" awk '$0 == ENVIRON["S"] {f=1; next} /^\[/ {f=0} f && index($0, ENVIRON["N"]) == 1 {print substr($0, length(ENVIRON["N"]) + 1)}' "$ini"; }
mkfifo "$E2E_TMP/go"

start=$(date +%s)
for round in $(seq "$rounds"); do
  rm -f "$ini"
  a=$(printf '#%02X%02X%02X' $((round * 5)) 17 34) b=$(printf '#%02X%02X%02X' 51 $((round * 5)) 68)
  # Both wait on the same FIFO and start the moment it is opened for writing.
  ( read -r _ <"$E2E_TMP/go"; exec "$E2E_TMP/app/pigmora" "$a" ) >"$E2E_TMP/a.log" 2>&1 &
  pa=$!
  ( read -r _ <"$E2E_TMP/go"; exec "$E2E_TMP/app/pigmora" "$b" ) >"$E2E_TMP/b.log" 2>&1 &
  pb=$!
  pids=($pa $pb)
  sleep 0.05
  printf 'go\ngo\n' >"$E2E_TMP/go"
  # The start that hands over ends; the other keeps the one window.
  e2e_until eval '! kill -0 $pa 2>/dev/null || ! kill -0 $pb 2>/dev/null' || fail "round $round: neither start handed over ($(windows) windows)"
  if kill -0 "$pa" 2>/dev/null; then first=$pa own=$a handed=$b gone=$pb; else first=$pb own=$b handed=$a gone=$pa; fi
  status=0; wait "$gone" || status=$?
  [ "$status" -eq 0 ] || fail "round $round: the handing start exited $status: $(cat "$E2E_TMP"/[ab].log)"
  e2e_until [ "$(windows)" -ge 1 ] || fail "round $round: no window"
  sleep 0.2
  [ "$(windows)" -eq 1 ] || fail "round $round: $(windows) windows"
  [ ! -e "$ini" ] || fail "round $round: settings written before the window closed"
  kill -TERM "$first"
  timeout 20 tail --pid="$first" -f /dev/null || fail "round $round: the window did not end"
  wait "$first" || fail "round $round: the window exited $?"
  pids=()
  hex() { printf '%d' "0x${1:5:2}${1:3:2}${1:1:2}"; }
  [ "$(stored 'Form\fMyColor' Integer)" = "$(hex "$handed")" ] || fail "round $round: stored colour $(stored 'Form\fMyColor' Integer), not the handed $handed"
  [[ "$(stored 'Form\History' Colours)" == "$handed,$own"* ]] || fail "round $round: history $(stored 'Form\History' Colours), not $handed then $own"
done
echo "single_instance_race: $rounds rounds in $(( $(date +%s) - start )) s"
