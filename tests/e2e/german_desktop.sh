#!/usr/bin/env bash
# On a German desktop (decimal comma) the restores read "." numbers as everywhere else, and the
# window carries the program's icon.
# Arguments: the pigmora executable, the build folder.
E2E_LANG=de_DE.UTF-8
source "$(dirname "$0")/lib.sh"
exe=$1

locale -a | grep -qix 'de_DE.utf-\?8' || fail "locale de_DE.UTF-8 missing (scripts/setup generates it)"
e2e_xvfb
e2e_launch "$exe"

# The icon is set just after the window maps.
has_icons() {
  icons=$(xprop -id "$E2E_WID" -notype _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
  for size in 16 32 48; do
    echo "$icons" | grep -q "Icon ($size x $size)" || return 1
  done
}
e2e_until has_icons || fail "window icon sizes: '$icons'"

# Types into a field and presses a button: field and button centres in client coordinates.
type_into() {
  e2e_click "$1" "$2"
  xdotool key --window "$E2E_WID" ctrl+a BackSpace
  xdotool type --window "$E2E_WID" --delay 20 "$3"
  sleep 0.1
}

type_into 150 56 'rgb <0.5, 0.25, 1>'   # POV-Ray field
e2e_click 331 57                         # "restore"
e2e_click 53 260                         # "HTML": copy
got=$(e2e_clipboard)
[ "$got" = "#8040FF" ] || fail "POV-Ray restore gave '$got'"

type_into 135 108 '50.9'                 # percent red
e2e_click 135 83                         # "0-100%" restore
e2e_click 53 260
got=$(e2e_clipboard)
[ "$got" = "#8240FF" ] || fail "percent restore gave '$got'"

e2e_click 332 257                        # "Exit"
e2e_wait_exit
echo "german_desktop: ok"
