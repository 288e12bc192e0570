#!/usr/bin/env bash
# Runs a command (usually ctest) in the x86_64 test environment: the test prefix with its
# drives (E: and G: removable, F: fixed, all empty at the start), an X display, and one
# persistent Wine server for the whole run.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
if [ -z "${OVELO_TEST_SESSION:-}" ]; then
    # The server's first programs attach to the display, so it must exist before them.
    OVELO_TEST_SESSION=1 exec "$OVELO_ROOT/tools/with-display.sh" "$0" "$@"
fi

export WINEPREFIX=$OVELO_TEST_PREFIX
drives=$OVELO_ROOT/build/x86_64/test-drives
# Tests that take a drive away or change its size find the host folders behind E:, F:, G: here.
export OVELO_TEST_DRIVES=$drives
mkdir -p "$drives/E" "$drives/F" "$drives/G"
"$OVELO_ROOT/tools/wine-prefix.sh" "$WINEPREFIX" E="$drives/E" G="$drives/G" F="$drives/F:hd"
find "$drives" -mindepth 2 -delete
# Unmanaged windows: without a window manager, Wine waits 2 s for each managed one to hide.
if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
    WINEDEBUG=-all "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    "$WINESERVER" -w
fi

trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
wine_start_server
# In the background, so that a signal stops the command and the server at once.
"$@" &
command=$!
trap 'kill "$command" 2>/dev/null; exit 130' INT TERM
status=0
wait "$command" || status=$?
exit "$status"
