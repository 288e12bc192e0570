#!/usr/bin/env bash
# Runs a Windows executable in the test prefix and passes on its exit code.
# This is the emulator of the x86_64 build's tests. WINEPREFIX may name another prefix.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$OVELO_TEST_PREFIX}
exec "$WINE" "$@"
