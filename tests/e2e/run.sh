#!/usr/bin/env bash
# End-to-end run of the real program under Wine, driven as a person drives it. Each script in
# steps/ starts the program, uses it through its window with the mouse and keyboard (xdotool),
# reads the results back from the screen, the drive folders and e2e_probe, and ends it; they
# share one X display, the test prefix with its drives, and one Wine server.
# Usage: run.sh OveloPlaylist.exe e2e_probe.exe hotplug.exe [STEP...]
# STEP names scripts of steps/ to run, without .sh; all of them in steps/ itself, in order, by
# default. Those of steps/volumes/ make real FAT and exFAT volumes. A step that exits with 77
# is skipped (it says why), and a run with a skipped step exits with 77 too, so that it never
# counts as passed.
# Screenshots of each state are kept in e2e/ beside the program, or in E2E_SHOTS where that
# is set; UPDATE_SCREENSHOT=1 also copies the one that the README shows to
# docs/screenshot.png; E2E_TRACE=1 traces each step's commands with the time.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ $# -lt 3 ]; then
    echo "usage: $0 OveloPlaylist.exe e2e_probe.exe hotplug.exe [STEP...]" >&2
    exit 2
fi

# Everything below needs an X display; with-display.sh keeps a working one or starts Xvfb.
if [ -z "${OVELO_E2E_HAS_DISPLAY:-}" ]; then
    export OVELO_E2E_HAS_DISPLAY=1
    exec "$root/tools/with-display.sh" bash "$here/run.sh" "$@"
fi

source "$root/tools/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$OVELO_TEST_PREFIX}
E2E_EXE=$(realpath "$1")
E2E_PROBE=$(realpath "$2")
E2E_HOTPLUG=$(realpath "$3")
E2E_SHOTS=${E2E_SHOTS:-$(dirname "$E2E_EXE")/e2e}
export E2E_EXE E2E_PROBE E2E_HOTPLUG E2E_SHOTS
shift 3

for file in "$E2E_EXE" "$E2E_PROBE" "$E2E_HOTPLUG" "$WINEPREFIX/system.reg"; do
    [ -f "$file" ] || { echo "e2e: no $file (the build and the test setup make it)" >&2; exit 1; }
done
for tool in xdotool import convert python3; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed" >&2; exit 1; }
done
# A window left over from elsewhere would be read in place of the one started here.
timeout 40 "$WINE" "$E2E_PROBE" wait-gone 3000 >/dev/null ||
    { echo "e2e: the program is already running in $WINEPREFIX" >&2; exit 1; }

rm -rf "$E2E_SHOTS"
mkdir -p "$E2E_SHOTS"
if [ $# -eq 0 ]; then
    set -- $(cd "$here/steps" && ls *.sh | sed 's/\.sh$//')
fi
started=$(date +%s)
failed=()
skipped=()
for name in "$@"; do
    begun=$(date +%s)
    echo "=== $name"
    status=0
    bash ${E2E_TRACE:+-x} "$here/steps/$name.sh" || status=$?
    if [ "$status" -eq 0 ]; then
        echo "=== $name passed in $(($(date +%s) - begun)) s"
    elif [ "$status" -eq 77 ]; then
        skipped+=("$name")
        echo "=== $name skipped: it needs what this machine cannot give (see above)"
    else
        failed+=("$name")
        echo "=== $name FAILED after $(($(date +%s) - begun)) s"
    fi
done

echo "screenshots in $E2E_SHOTS"
if [ "${UPDATE_SCREENSHOT:-}" = 1 ] && [ -f "$E2E_SHOTS/complete.png" ]; then
    cp "$E2E_SHOTS/complete.png" "$root/docs/screenshot.png"
    echo "copied complete.png to docs/screenshot.png"
fi
if [ ${#failed[@]} -gt 0 ]; then
    echo "e2e FAILED in $(($(date +%s) - started)) s: ${failed[*]}" >&2
    exit 1
fi
# ctest counts an entry with skipped steps as skipped, never as passed.
if [ ${#skipped[@]} -gt 0 ]; then
    echo "e2e skipped ${skipped[*]} after $(($(date +%s) - started)) s" >&2
    exit 77
fi
echo "e2e passed in $(($(date +%s) - started)) s"
