#!/usr/bin/env bash
# The command line without a display: help, version, conversion, and the exit codes of what
# does not read or does not fit.
# Arguments: the pigmora executable.
set -euo pipefail
exe=$1
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=
fail() { echo "FAIL: $*" >&2; exit 1; }
status() { set +e; "$@" >/dev/null 2>&1; local s=$?; set -e; echo "$s"; }

"$exe" --help | grep -q -- '--convert TEXT' || fail "--help"
[ "$("$exe" -v)" = "pigmora $("$exe" --version | cut -d' ' -f2)" ] || fail "-v and --version differ"
[ "$("$exe" --convert 'oklch(0.7 0.1 200)' --to html,oklch)" = $'#40B1B7\noklch(0.7 0.1 200)' ] || fail "--convert --to"
[ "$("$exe" --to rgb --srgb --convert '#98B5D1')" = "srgb <0.596, 0.71, 0.82>" ] || fail "--srgb"
[ "$("$exe" --convert '#336699' | wc -l)" -eq 32 ] || fail "every notation"
"$exe" --convert '#336699' | grep -qx 'oklch: oklch(0.5 0.099 250.4)' || fail "name: text lines"
[ "$(status "$exe" --convert 'no colour')" -eq 1 ] || fail "unreadable text"
{ "$exe" --convert 'no colour' 2>&1 || true; } | grep -q "'no colour'" || fail "the message names the text"
[ "$(status "$exe" --convert red --to nope)" -eq 2 ] || fail "unknown notation"
[ "$(status "$exe" --bogus)" -eq 2 ] || fail "unknown option"
[ "$(status "$exe" "$(printf '\xff\xfe')" --convert x)" -eq 2 ] || fail "bytes that are no UTF-8"
[ "$(status "$exe")" -eq 1 ] || fail "the window without a display"
{ "$exe" 2>&1 || true; } | grep -q 'no display' || fail "no-display message"
big=$(head -c 100000 /dev/zero | tr '\0' 'x')
[ "$(status "$exe" --convert "$big")" -eq 1 ] || fail "a huge text"
echo "command_line: ok"
