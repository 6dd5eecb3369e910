#!/usr/bin/env bash
# The colour and the window position survive a restart; the program's own picker opens on the
# kept colour and hands it back with Return.
# Arguments: the pigmora executable, the build folder (the screenshot goes there).
source "$(dirname "$0")/lib.sh"
exe=$1 build=$2
ini="$E2E_TMP/app/pigmora.ini"

e2e_xvfb
e2e_launch "$exe"
[ ! -e "$ini" ] || fail "settings file before the first close"
e2e_click 246 203      # "ra1"
xdotool windowmove --sync "$E2E_WID" 300 250
sleep 0.2
e2e_click 332 257      # "Exit"
e2e_wait_exit
[ -f "$ini" ] || fail "no settings file beside the program"
colour=$(awk '/^\[Form\\fMyColor\]/ {s=1; next} /^\[/ {s=0} s && /^Integer=/ {sub(/^Integer=/, ""); print}' "$ini")
[ -n "$colour" ] || fail "no colour stored"
[ "$colour" != 13743512 ] || fail "the random colour was not stored"

e2e_launch "$exe"
geometry=$(xdotool getwindowgeometry "$E2E_WID")
echo "$geometry" | grep -q "Position: 300,250" || fail "window reopened at: $geometry"

# The swatch shows the stored colour ($00BBGGRR as an integer).
import -window "$E2E_WID" "$build/e2e-settings-kept.png" || true
want=$(printf '#%02X%02X%02X' $((colour & 255)) $(((colour >> 8) & 255)) $(((colour >> 16) & 255)))
got=$(convert "$build/e2e-settings-kept.png" -crop 1x1+332+155 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1)
[ "$got" = "$want" ] || fail "swatch shows $got, expected $want"

e2e_click 197 24       # "(Photoshop)"
picker=$(timeout 10 xdotool search --sync --onlyvisible --name '^Color Picker$' | head -n1) || fail "no picker window"
xdotool windowfocus --sync "$picker" key Return
sleep 0.3
e2e_click 53 230       # "Delphi": copy the constant notation
expected=$(printf '$%08X' "$colour")
got=$(e2e_clipboard)
[ "$got" = "$expected" ] || fail "constant notation '$got', expected '$expected'"

e2e_click 332 257
e2e_wait_exit
echo "settings_kept: ok"
