#!/usr/bin/env bash
# "Pick as the monitor shows it" with the monitor's profile where colour management daemons put
# it, the _ICC_PROFILE property of the root window: the pick equals what Little CMS's own
# transicc makes of the same device value (relative colorimetric, no black point compensation).
# A profile that is not one (one byte, random bytes, 10 MB, an empty property, a grey profile) or
# no profile at all gives the device value. Arguments: the pigmora executable, the build folder.
source "$(dirname "$0")/lib.sh"
exe=$1
build=$2
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

profile=/usr/share/color/icc/compatibleWithAdobeRGB1998.icc
[ -r "$profile" ] || fail "no $profile (scripts/setup installs icc-profiles-free)"
set_profile() { "$build/tests/root_property" _ICC_PROFILE "$1" || fail "could not set _ICC_PROFILE to $1"; }

e2e_xvfb
xsetroot -solid '#6496C8'
set_profile "$profile"

# The switch is on in the settings file, as the command menu leaves it.
mkdir -p -m 0755 "$E2E_TMP/app" && cp "$exe" "$E2E_TMP/app/pigmora"
printf '[Form\\PickAsShown]\nBool=1\n' >"$E2E_TMP/app/pigmora.ini"
e2e_launch "$exe"

magnifier_open() { xdotool search --onlyvisible --name '^Pick from screen$' >/dev/null 2>&1; }
magnifier_closed() { ! magnifier_open; }
pick() {
  xdotool mousemove 1000 900
  xdotool windowfocus --sync "$E2E_WID"
  xdotool key --clearmodifiers ctrl+shift+e
  e2e_until magnifier_open || fail "no magnifier"
  xdotool mousemove 1101 801 click 1
  e2e_until magnifier_closed || fail "magnifier still open after the click"
  e2e_current_html
}
# Whether #RRGGBB lies within one step of each of three numbers.
near() {
  local hex=${1#\#} i=0 v
  shift
  for v in "$@"; do
    awk -v a="$((16#${hex:$((2 * i)):2}))" -v b="$v" 'BEGIN { d = a - b; exit !(d <= 1 && d >= -1) }' || return 1
    i=$((i + 1))
  done
}

read -r r g b < <(echo "100 150 200" | transicc -i "$profile" -o '*sRGB' -t 1 -n 2>/dev/null | tail -n1)
[ -n "$b" ] || fail "transicc gave nothing"
got=$(pick)
near "$got" "$r" "$g" "$b" || fail "as shown through the profile: $got, transicc says $r $g $b"
[ "$got" != "#6496C8" ] || fail "the profile changed nothing"

head -c 1 /dev/urandom >"$E2E_TMP/one_byte.icc"
head -c 70000 /dev/urandom >"$E2E_TMP/random.icc"
head -c 10485760 /dev/urandom >"$E2E_TMP/ten_megabytes.icc"
: >"$E2E_TMP/empty.icc"
for bad in one_byte random ten_megabytes empty; do
  set_profile "$E2E_TMP/$bad.icc"
  got=$(pick)
  [ "$got" = "#6496C8" ] || fail "a profile of $bad bytes gave $got, not the device value"
done
set_profile /usr/share/color/icc/Gray.icc
[ "$(pick)" = "#6496C8" ] || fail "a grey profile changed the pick"
set_profile -
[ "$(pick)" = "#6496C8" ] || fail "no profile changed the pick"

kill -0 "$E2E_APP_PID" || fail "the program ended"
xdotool key --clearmodifiers ctrl+q
e2e_wait_exit
grep -q 'Bool=1' "$E2E_TMP/app/pigmora.ini" || fail "the switch was not kept"
echo "screen_pick_as_shown: ok"
