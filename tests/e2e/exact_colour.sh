#!/usr/bin/env bash
# A colour outside sRGB is held exactly as written: pasted, the Notations window's oklch row says
# it digit for digit while the main window shows its sRGB fallback; after a restart both say the
# same again, from the settings file's own key.
# Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1

colour='oklch(0.7 0.25 30)'
# The oklch row's place among the window's rows: --convert lists the main window's eight
# notations first, then the rows in the window's order.
row=$(( $("$exe" --convert '#000000' | grep -n '^oklch: ' | cut -d: -f1) - 9 ))
[ "$row" -ge 0 ] || fail "--convert names no oklch row"

# Copies the oklch row as Return on it does: from the note above the rows, Tab reaches each row's
# text and then its Copy button.
oklch_row() {
  local notations
  notations=$(timeout 10 xdotool search --sync --onlyvisible --name '^Pigmora Notations$' | head -n1) \
    || fail "the Notations window is not open"
  xdotool windowactivate --sync "$notations" 2>/dev/null || xdotool windowfocus --sync "$notations"
  xdotool mousemove --window "$notations" 40 18 click 1   # the note
  sleep 0.2
  echo -n "-" | xclip -selection clipboard >/dev/null 2>&1
  xdotool key --clearmodifiers --repeat $((1 + 2 * row)) --delay 20 Tab
  xdotool key --clearmodifiers Return
  e2e_until [ "$(e2e_clipboard)" != "-" ] || fail "Return on the oklch row copied nothing"
  e2e_clipboard
}

e2e_xvfb
e2e_launch "$exe"
printf '%s' "$colour" | xclip -selection clipboard -i
sleep 0.3
xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || true
e2e_click 150 56       # into the POV-Ray field
xdotool key --clearmodifiers ctrl+shift+v
got=$(oklch_row)
[ "$got" = "$colour" ] || fail "the oklch row reads '$got'"
got=$(e2e_current_html)
[ "$got" = "#FF5843" ] || fail "the main window's HTML is '$got'"

e2e_click 332 257      # "Exit"
e2e_wait_exit
grep -qxF 'Exact=oklch(0.7 0.25 30)' "$E2E_TMP/app/pigmora.ini" || fail "the exact colour was not stored"

e2e_launch "$exe"
got=$(oklch_row)
[ "$got" = "$colour" ] || fail "after the restart the oklch row reads '$got'"
# The swatch shows the fallback from the start; the fields are written by "repre" (F5).
got=$(import -window "$E2E_WID" -crop 1x1+330+150 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1)
[ "$got" = "#FF5843" ] || fail "after the restart the swatch shows '$got'"
xdotool windowfocus --sync "$E2E_WID"
xdotool key --clearmodifiers F5
got=$(e2e_current_html)
[ "$got" = "#FF5843" ] || fail "after the restart the main window's HTML is '$got'"
e2e_click 332 257
e2e_wait_exit
echo "exact_colour: ok"
