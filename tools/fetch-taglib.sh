#!/usr/bin/env bash
# Fetches the newest TagLib 1.13 of Debian's sources, with Debian's patches and ours
# (cmake/taglib-*.patch) applied, into OUTDIR/source; quick when it is there already. apt works
# through a private list of sources and state folder in OUTDIR/apt, derived from the machine's
# own Debian sources, so that the system's apt configuration stays as it is. Both build folders
# share the result.
# Usage: fetch-taglib.sh OUTDIR
set -euo pipefail

out=${1:?usage: fetch-taglib.sh OUTDIR}
series=1.13
patches=("$(dirname "$0")"/../cmake/taglib-*.patch)
mkdir -p "$out"
out=$(realpath "$out")
# The two builds may ask at once: one fetches, the other waits for it.
exec 9>"$out/.lock"
flock 9
# What the source holds: fetched again when our patches change.
fetched=$(cat "${patches[@]}" | sha256sum | cut -c1-16)
[ "$(cat "$out/source/.fetched" 2>/dev/null)" = "$fetched" ] && exit 0

apt=$out/apt
rm -rf "$apt" "$out/unpack"
mkdir -p "$apt/sources.list.d" "$apt/state/lists/partial" "$apt/cache/archives/partial" \
    "$out/unpack"
# The machine's Debian sources as source-package sources: the same mirrors, suites and keys.
found=
for sources in /etc/apt/sources.list.d/*.sources; do
    [ -f "$sources" ] || continue
    sed -E 's/^Types:.*/Types: deb-src/' "$sources" >"$apt/sources.list.d/$(basename "$sources")"
    found=1
done
if [ -f /etc/apt/sources.list ]; then
    sed -nE 's/^deb(\s)/deb-src\1/p' /etc/apt/sources.list >"$apt/sources.list"
    grep -q . "$apt/sources.list" && found=1
else
    : >"$apt/sources.list"
fi
[ -n "$found" ] || { echo "fetch-taglib: no Debian sources in /etc/apt" >&2; exit 1; }

options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
         -o "Dir::State=$apt/state" -o "Dir::Cache=$apt/cache")
# As root apt would hand the downloads to its own user, who may not write here.
[ "$(id -u)" -ne 0 ] || options+=(-o APT::Sandbox::User=root)
apt-get "${options[@]}" -q update
version=
while read -r candidate; do
    if [ -z "$version" ] || dpkg --compare-versions "$candidate" gt "$version"; then
        version=$candidate
    fi
done < <(apt-cache "${options[@]}" showsrc taglib | sed -n 's/^Version: //p' |
         grep -E "^$series([.-]|$)")
[ -n "$version" ] || { echo "fetch-taglib: Debian's sources hold no TagLib $series" >&2; exit 1; }
echo "fetch-taglib: TagLib $version"
(cd "$out/unpack" && apt-get "${options[@]}" -q source --only-source "taglib=$version")
for patch in "${patches[@]}"; do
    patch -d "$out/unpack"/taglib-*/ -p1 --quiet <"$patch"
done
rm -rf "$out/source"
mv "$out/unpack"/taglib-*/ "$out/source"
echo "$fetched" >"$out/source/.fetched"
rm -rf "$out/unpack"
