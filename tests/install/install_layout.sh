#!/usr/bin/env bash
# `cmake --install` into a scratch DESTDIR, under two prefixes: the program, the desktop entry and
# the AppStream metainfo (both accepted by their validators) and the icon in the hicolor theme.
# Argument: the build folder.
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

for prefix in /usr "/opt/pigmora 1.11"; do
  dest="$tmp/dest"
  rm -rf "$dest"
  DESTDIR="$dest" cmake --install "$build" --prefix "$prefix" >/dev/null
  root="$dest$prefix"
  [ -x "$root/bin/pigmora" ] || fail "no program under $prefix/bin"
  desktop="$root/share/applications/pigmora.desktop"
  metainfo="$root/share/metainfo/org.pigmora.Pigmora.metainfo.xml"
  [ -f "$desktop" ] || fail "no desktop entry under $prefix"
  [ -f "$metainfo" ] || fail "no metainfo under $prefix"
  # The distribution's own validator, with no error and no warning: it predates the standard's
  # SingleMainWindow key, so the one-window hint is kept in the X- form it knows.
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed: $out"
  [ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
  grep -q '^X-GNOME-SingleWindow=true$' "$desktop" || fail "the desktop entry lost its one-window hint"
  out=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
  # The one pedantic hint is the id's capital, kept since installed systems know it by that id.
  out=$(echo "$out" | grep -E '^[EWIP]:' | grep -v 'cid-contains-uppercase-letter' || true)
  [ -z "$out" ] || fail "appstreamcli validate --pedantic has remarks: $out"
  man="$root/share/man/man1/pigmora.1.gz"
  [ -f "$man" ] || fail "no man page under $prefix"
  lexgrog "$man" >/dev/null || fail "lexgrog cannot read the man page"
  if command -v mandoc >/dev/null; then
    out=$(mandoc -Tlint -W warning "$man" 2>&1) || fail "mandoc -Tlint: $out"
  fi
  [ -f "$root/share/doc/pigmora/copyright" ] || fail "no copyright file under $prefix"
  [ -f "$root/share/bash-completion/completions/pigmora" ] || fail "no bash completion under $prefix"
  bash -n "$root/share/bash-completion/completions/pigmora" || fail "the bash completion does not parse"
  icons="$root/share/icons/hicolor"
  [ -f "$icons/scalable/apps/pigmora.svg" ] || fail "no scalable icon under $prefix"
  for size in 16 24 32 48 64 128 256; do
    png="$icons/${size}x${size}/apps/pigmora.png"
    [ -f "$png" ] || fail "no ${size}px icon under $prefix"
    # PNG header: the IHDR width and height, 4 bytes each from offset 16.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
  done
  # Nothing lands outside the prefix.
  outside=$(cd "$dest" && find . -type f | grep -v "^\.${prefix}/" || true)
  [ -z "$outside" ] || fail "installed outside $prefix: $outside"
done
echo "install_layout: ok"
