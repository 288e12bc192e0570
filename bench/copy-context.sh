#!/usr/bin/env bash
# Context for bench_copy: the same file sets (1,000 of 1 MiB, 10,000 of 4 KiB) copied by the
# host's cp into the folder behind drive E:, best of 3 runs each, sources read once beforehand
# and the copies removed between runs. The sources already carry the names the copies get on
# the drive, so a single cp does the whole set.
# Usage: copy-context.sh [DRIVE_FOLDER]   (default: build/x86_64/test-drives/E)
set -euo pipefail
shopt -s nullglob

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dest=${1:-$root/build/x86_64/test-drives/E}
rounds=3
mkdir -p "$dest" "$root/build"
work=$(mktemp -d "$root/build/copy-context.XXXXXX")

remove_copies() {
    for set in "$work"/*/; do
        (cd "$set" && find . -maxdepth 1 -type f -printf '%P\0') | (cd "$dest" && xargs -0r rm -f --)
    done
}
trap 'remove_copies; rm -rf "$work"' EXIT

# make_set FOLDER COUNT BYTES: names and contents as bench_copy makes them, prefix included.
make_set() {
    mkdir -p "$1"
    python3 - "$@" <<'PY'
import os, sys
folder, count, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
extensions = ["mp3", "jpg", "avi", "flac", "mp4", "wma"]
data = bytearray(os.urandom(size))
for i in range(count):
    data[:4] = i.to_bytes(4, "little")
    name = "%0*u_track%05d.%s" % (max(3, len(str(count))), i + 1, i + 1, extensions[i % 6])
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)
PY
}

now_ns() { date +%s%N; }

# bench_set LABEL COUNT BYTES
bench_set() {
    local src=$work/$2x$3 runs=() best=
    make_set "$src" "$2" "$3"
    cat "$src"/* >/dev/null
    for ((r = 0; r < rounds; r++)); do
        remove_copies
        local start end
        start=$(now_ns)
        cp -- "$src"/* "$dest"/
        end=$(now_ns)
        local ns=$((end - start))
        runs+=("$ns")
        if [ -z "$best" ] || [ "$ns" -lt "$best" ]; then best=$ns; fi
        local copied
        copied=$(find "$dest" -maxdepth 1 -type f -name '*_track*' | wc -l)
        if [ "$copied" -ne "$2" ]; then
            echo "FAILED: $copied files in $dest after cp, expected $2" >&2
            exit 1
        fi
    done
    remove_copies
    awk -v label="$1" -v n="$2" -v bytes="$3" -v best="$best" -v runs="${runs[*]}" 'BEGIN {
        s = best / 1e9
        printf "%s x %d\n  %-10s %8.3f s  %7.3f ms/file  %8.1f MB/s   runs:", label, n, "cp", s,
               s * 1000 / n, n * bytes / 1048576 / s
        split(runs, r, " ")
        for (i = 1; i in r; i++) printf " %.3f", r[i] / 1e9
        printf "\n"
    }'
}

echo "cp into $dest, best of $rounds runs (MB = 2^20 bytes)"
bench_set "1 MiB files" 1000 1048576
bench_set "4 KiB files" 10000 4096
