#!/usr/bin/env bash
# End-to-end hot-plug: the program starts without removable drives, the hotplug helper
# plugs one in while it runs and takes it out again, and after each the drive list and the
# capacity text are read from outside. run.sh runs this with the test prefix's removable
# drives unmapped (tools/without-drives.sh), in its display and Wine environment.
# Usage: hotplug.sh OveloPlaylist.exe e2e_probe.exe hotplug.exe
set -euo pipefail
source "$(dirname "$0")/../../tools/wine-env.sh"
exe=$1 probe_exe=$2 hotplug_exe=$3
letter=H
# Beside the test prefix, so on the host disk that the prefix's C: shows too.
folder=$(dirname "$exe")/test-drives/$letter
app_pid=

probe() { timeout -k 5 40 "$WINE" "$probe_exe" "$@"; }
hotplug() { timeout -k 5 60 "$WINE" "$hotplug_exe" "$@"; }
fail() {
    echo "hot-plug FAILED: $*" >&2
    exit 1
}

cleanup() {
    if [ -n "$app_pid" ]; then
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    # A drive left plugged would stay in the prefix and show up in every later test.
    if [ -e "$WINEPREFIX/dosdevices/${letter,,}:" ]; then
        hotplug unplug "$letter" >/dev/null 2>&1 || rm -f "$WINEPREFIX/dosdevices/${letter,,}:"
    fi
    rm -rf "$folder"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$folder"
echo "-- start with no removable drive"
"$WINE" "$exe" >/dev/null 2>&1 &
app_pid=$!
probe wait-main 20000 || fail "the window did not appear"
probe check-drive-list -1 || fail "the drive list is not empty at the start"

echo "-- plug $letter: in"
free_before=$(probe disk-free C: | tr -d '\r') || fail "cannot read the free space of C:"
hotplug plug "$letter" "$folder" || fail "the helper could not plug $letter:"
probe check-drive-list 0 "$letter:" || fail "$letter: is not listed and selected after its arrival"
probe check-capacity "$letter:" "$free_before" || fail "the capacity text does not show $letter:"

echo "-- take $letter: out"
hotplug unplug "$letter" || fail "the helper could not unplug $letter:"
probe check-drive-list -1 || fail "$letter: is still listed after its removal"
probe check-capacity-text " " || fail "the capacity text is not blank after the removal"

probe post-close || fail "cannot close the window"
for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program was still running 10 s after closing"
wait "$app_pid" 2>/dev/null || true
app_pid=
