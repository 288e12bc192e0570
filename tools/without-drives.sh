#!/usr/bin/env bash
# Runs a command in the test prefix with its removable drives unmapped, then maps them again.
# Wine's mount manager keeps the drives it found when its server started, so renaming the
# drive links alone changes nothing for a running prefix: the server is restarted after
# hiding the links and again after restoring them (a persistent server comes back as one).
# Tests that use this must not run in parallel with others.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$OVELO_TEST_PREFIX}
dosdevices=$WINEPREFIX/dosdevices
hidden=$WINEPREFIX/hidden-drives

# wine-prefix.sh records the mapping as "letter folder type" lines.
removable=$(awk '$3 == "floppy" { print $1 }' "$WINEPREFIX/drives.applied")

restart_server() {
    if "$WINESERVER" -k 2>/dev/null; then
        "$WINESERVER" -w
        wine_start_server
    fi
}

restore() {
    for l in $removable; do
        [ ! -L "$hidden/$l:" ] || mv "$hidden/$l:" "$dosdevices/$l:"
    done
    restart_server
}

mkdir -p "$hidden"
trap restore EXIT
trap 'exit 130' INT TERM # cleans up through the EXIT trap
for l in $removable; do
    mv "$dosdevices/$l:" "$hidden/$l:"
done
restart_server
"$@"
