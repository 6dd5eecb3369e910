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
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
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
