#!/usr/bin/env bash
# What a blind user hears: the screen reader itself (Debian's Orca) reads the program on a
# private Xvfb, session bus and accessibility bus, with its speech written to its debug log
# instead of a synthesizer, while orca_check.py drives the program with keys only and reads what
# would have been said.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2

if ! command -v orca >/dev/null || ! /usr/bin/python3 -c 'import importlib.util, sys; sys.exit(importlib.util.find_spec("orca") is None)'; then
  echo "SKIP: the screen reader is not installed (scripts/setup installs Debian's orca package)"
  exit 77
fi

e2e_xvfb
# A screen whose every pixel differs from its neighbours, so that the magnifier has news on each move.
e2e_root_pattern "$DISPLAY" 0
mkdir -p -m 0755 "$E2E_TMP/app" && cp "$exe" "$E2E_TMP/app/pigmora"
export HOME="$E2E_TMP/home" XDG_DATA_HOME="$E2E_TMP/home/data" XDG_CACHE_HOME="$E2E_TMP/home/cache"
mkdir -p "$HOME"
# No sound server, no braille display, no real speech: only the screen reader's own log.
export GST_AUDIO_SINK=fakesink GTK_A11Y=none NO_AT_BRIDGE=1
# What Orca logged stays in the build folder for reading after a failure.
trap 'cp "$E2E_TMP/orca.log" "$build/e2e-orca.log" 2>/dev/null || true; e2e_cleanup' EXIT
timeout 200 dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/orca_check.py" "$E2E_TMP/app/pigmora" "$E2E_TMP" \
  2> >(grep -v -e 'fd limit' -e 'Activating service' -e 'Successfully activated' -e 'SpiRegistry daemon' >&2) \
  || fail "the spoken check failed"
echo "orca: ok"
