#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; quick when all are there.
set -euo pipefail
packages=(
    make cmake googletest clang-format
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    wine64 fonts-wine fonts-wqy-microhei
    xvfb x11-utils xdotool imagemagick
    python3 python3-pil
    # Real FAT and exFAT volumes for the tests (tools/test-volume.sh): mkfs.vfat, mkfs.exfat,
    # their FUSE drivers, fatsort for the disk order, and losetup.
    dosfstools exfatprogs fusefat exfat-fuse fatsort mount
    # TagLib's Debian source package, fetched through a private apt state (tools/fetch-taglib.sh):
    # apt-get source unpacks it with dpkg-source, our bounds go on with patch.
    dpkg-dev xz-utils patch
    # Real tagged files for the tests (tests/support/make-tagged-media.py): the encoders, and
    # a tagging library other than the one the program reads tags with.
    lame flac vorbis-tools opus-tools python3-mutagen
    # A card that claims twice the space it stores (tools/fake-card.py).
    python3-fusepy
    # The digest a copy is checked against, used as one header (copy/ContentDigest.cpp).
    libxxhash-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=(env DEBIAN_FRONTEND=noninteractive)
[ "$(id -u)" -eq 0 ] || as_root=(sudo "${as_root[@]}")
"${as_root[@]}" apt-get update -q
# With recommends: Wine's X11 driver uses the X extension libraries it only recommends.
"${as_root[@]}" apt-get install -y -q "${missing[@]}"
