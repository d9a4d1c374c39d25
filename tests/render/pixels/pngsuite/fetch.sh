#!/usr/bin/env bash
# Fetches the PNG test images of Debian's libpng1.6 source package (the
# suite images, the colour-type test images and the known-bad files) into
# DEST, once: later runs find DEST/.complete and do nothing. Any failure is
# an error; the images are never part of the repository.
#   fetch.sh DEST
set -euo pipefail
dest=${1:?usage: fetch.sh DEST}
[ -f "$dest/.complete" ] && exit 0
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
exec 9>"$dest/.lock"
flock 9
[ -f "$dest/.complete" ] && exit 0

command -v apt-get >/dev/null || { echo "fetch.sh: apt-get is missing" >&2; exit 1; }
command -v dpkg-source >/dev/null || { echo "fetch.sh: dpkg-source is missing (package dpkg-dev, scripts/setup installs it)" >&2; exit 1; }

work=$(mktemp -d "$dest/.src.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The newest source first; a mirror may lack it (a security update whose
# source is not mirrored), so every version the index lists is tried, and the
# index is refreshed once if none can be had.
fetch() {
  local versions v
  versions=$(apt-cache showsrc libpng1.6 2>/dev/null | sed -n 's/^Version: //p' | sort -rV | uniq)
  [ -n "$versions" ] || return 1
  for v in $versions; do
    if (cd "$work" && apt-get source -qq "libpng1.6=$v" >"$work/log" 2>&1); then
      return 0
    fi
    echo "fetch.sh: apt-get source libpng1.6=$v failed:" >&2
    tail -n 3 "$work/log" >&2
    rm -rf "${work:?}"/libpng1.6*
  done
  return 1
}
if ! fetch; then
  echo "fetch.sh: refreshing the package index" >&2
  DEBIAN_FRONTEND=noninteractive apt-get update -qq || true
  fetch || { echo "fetch.sh: could not fetch the source of libpng1.6 (deb-src entries: scripts/setup)" >&2; exit 1; }
fi

src=$(find "$work" -maxdepth 1 -type d -name 'libpng1.6-*' | head -n 1)
[ -n "$src" ] || { echo "fetch.sh: no source tree after apt-get source" >&2; exit 1; }
for sub in pngsuite pngsuite/interlaced testpngs testpngs/crashers; do
  [ -d "$src/contrib/$sub" ] || { echo "fetch.sh: $sub is missing in $(basename "$src")" >&2; exit 1; }
  mkdir -p "$dest/$sub"
  cp "$src/contrib/$sub"/*.png "$dest/$sub/"
done
echo "fetch.sh: $(find "$dest" -path "$work" -prune -o -name '*.png' -print | wc -l) images from $(basename "$src")"
basename "$src" >"$dest/.complete"
