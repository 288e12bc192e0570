# Sourced by the Wine helpers: where Wine lives and how quiet it is.
# Debian's `wine` launcher wants the 32-bit loader, so the 64-bit binaries are called directly.
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: their installers would ask for a download.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
OVELO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OVELO_TEST_PREFIX=$OVELO_ROOT/build/x86_64/wine-test

# Starts a persistent server for WINEPREFIX and boots the prefix's services. Everything runs
# with its output detached: these processes outlive the command that starts them and would
# otherwise keep a test runner waiting for the end of the test's output.
wine_start_server() {
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
}
