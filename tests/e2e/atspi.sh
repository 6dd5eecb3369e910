#!/usr/bin/env bash
# What a screen reader sees: the program on a private Xvfb and a private session bus with the
# accessibility bus, driven only through AT-SPI (atspi_check.py) as Orca would drive it.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1

e2e_xvfb
mkdir -p -m 0755 "$E2E_TMP/app" && cp "$exe" "$E2E_TMP/app/pigmora"
# Qt speaks AT-SPI only when a screen reader has asked for it, or when told to from the start.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Debian's Python, which has the AT-SPI bindings, whatever python3 is first on the PATH.
timeout 100 dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/atspi_check.py" "$E2E_TMP/app/pigmora" "$E2E_TMP/app.log" \
  2> >(grep -v -e 'fd limit' -e 'Activating service' -e 'Successfully activated' -e 'SpiRegistry daemon' >&2) \
  || fail "the AT-SPI check failed"
echo "atspi: ok"
