#!/usr/bin/env bash
# End-to-end run of the real program under Wine, driven as a user would drive it:
# start it, read its window through e2e_probe, open and close the About box three times,
# take a screenshot, then close it with Esc, with the close box and with Enter, and check
# each time that the process ends; then plug a drive in and out while it runs (hotplug.sh).
# Usage: run.sh OveloPlaylist.exe e2e_probe.exe
# Writes e2e-screenshot.png beside the program; UPDATE_SCREENSHOT=1 also copies it to
# docs/screenshot.png.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ $# -ne 2 ]; then
    echo "usage: $0 OveloPlaylist.exe e2e_probe.exe" >&2
    exit 2
fi

# Everything below needs an X display; with-display.sh keeps a working one or starts Xvfb.
if [ -z "${OVELO_E2E_HAS_DISPLAY:-}" ]; then
    export OVELO_E2E_HAS_DISPLAY=1
    exec "$root/tools/with-display.sh" bash "$here/run.sh" "$@"
fi

exe=$(realpath "$1")
probe_exe=$(realpath "$2")
shot=$(dirname "$exe")/e2e-screenshot.png

source "$root/tools/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$OVELO_TEST_PREFIX}

started=$(date +%s)
log=$(mktemp -d)
app_pid=

step() { echo "== $*"; }

fail() {
    echo "e2e FAILED: $*" >&2
    if [ -s "$log/app.out" ]; then
        echo "-- program output:" >&2
        tail -n 20 "$log/app.out" >&2
    fi
    exit 1
}

stop_app() {
    [ -n "$app_pid" ] || return 0
    if kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null || true
        for _ in $(seq 30); do
            kill -0 "$app_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$app_pid" 2>/dev/null || true
    fi
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

cleanup() {
    stop_app
    rm -rf "$log"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

[ -f "$exe" ] || fail "no program at $exe"
[ -f "$probe_exe" ] || fail "no probe at $probe_exe"
[ -f "$WINEPREFIX/system.reg" ] || fail "no Wine prefix at $WINEPREFIX (the test setup makes it)"
for tool in xdotool import identify; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done

# Runs one probe sub-command; its own waits are shorter than this bound.
probe() {
    timeout -k 5 40 "$WINE" "$probe_exe" "$@"
}

start_app() {
    "$WINE" "$exe" >"$log/app.out" 2>&1 &
    app_pid=$!
    probe wait-main 20000 || fail "the window \"Ovelo Playlist Tool\" did not appear"
}

# Waits up to $1 seconds for the program's process to end.
wait_app_exit() {
    local limit=$(($1 * 10))
    for _ in $(seq "$limit"); do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            wait "$app_pid" 2>/dev/null || true
            app_pid=
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# The program's X window with exactly this title, waited for briefly. Wine marks its
# windows with the Unix process id, so windows of other tests never match.
x_window() {
    local title=$1 id=
    for _ in $(seq 50); do
        id=$(xdotool search --all --onlyvisible --pid "$app_pid" --name "^${title}\$" \
             2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "no X window titled \"$title\""
    echo "$id"
}

# Gives a top-level window the keyboard focus the way a click on it would, then types a key.
press_key_in() {
    local title=$1 key=$2 focus_cmd=$3 id
    id=$(x_window "$title")
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    probe "$focus_cmd" || fail "cannot give \"$title\" the focus"
    xdotool key --clearmodifiers "$key" || fail "xdotool cannot type $key"
}

free_before=$(probe disk-free E: | tr -d '\r') || fail "cannot read the free space of E: in $WINEPREFIX"

# A window left over from elsewhere would be read in place of the one started here.
probe wait-gone 3000 || fail "the program is already running in $WINEPREFIX"

step "start the program"
start_app

step "check the main window"
probe check-main "$free_before" || fail "the main window is not as expected"

step "screenshot"
# Let the window finish painting before it is captured.
sleep 1
main_x=$(x_window "Ovelo Playlist Tool")
rm -f "$shot"
import -window "$main_x" "$shot" || fail "cannot capture the main window"
read -r width height colours < <(identify -format '%w %h %k\n' "$shot") ||
    fail "cannot read the screenshot $shot"
echo "screenshot $shot: ${width}x${height}, $colours colours"
# The dialog is 407 x 346 dialog units, well over 500 x 400 pixels; a painted window with
# its toolbar pictograms has far more than a handful of colours.
if [ "$width" -lt 500 ] || [ "$height" -lt 400 ]; then
    fail "screenshot is only ${width}x${height}"
fi
[ "$colours" -ge 16 ] || fail "screenshot has only $colours colours: the window is not painted"
if [ "${UPDATE_SCREENSHOT:-}" = 1 ]; then
    mkdir -p "$root/docs"
    cp "$shot" "$root/docs/screenshot.png"
    echo "copied to docs/screenshot.png"
fi

step "About box, closed with its OK button"
probe open-about 10000 || fail "the About box did not open as expected"
probe click-about-ok || fail "cannot press OK in the About box"
probe wait-about-closed 10000 || fail "OK did not close the About box"

step "About box again, closed with Enter"
probe open-about 10000 || fail "the About box did not open a second time"
press_key_in "About Ovelo" Return focus-about
probe wait-about-closed 10000 || fail "Enter did not close the About box"

step "About box a third time, closed with Esc"
probe open-about 10000 || fail "the About box did not open a third time"
press_key_in "About Ovelo" Escape focus-about
probe wait-about-closed 10000 || fail "Esc did not close the About box"

step "Esc ends the program"
press_key_in "Ovelo Playlist Tool" Escape focus-main
wait_app_exit 10 || fail "the program was still running 10 s after Esc"
probe wait-gone 5000 || fail "a window outlived the program"

step "the close box ends the program"
start_app
probe post-close || fail "cannot close the main window"
wait_app_exit 10 || fail "the program was still running 10 s after the close command"

step "Enter on the drive list ends the program"
start_app
probe focus-main || fail "cannot give the main window the focus"
# The window starts with the focus on its first tab stop, the drive list.
probe check-focus 1001 || fail "the drive list does not have the focus at start"
press_key_in "Ovelo Playlist Tool" Return focus-main
wait_app_exit 10 || fail "the program was still running 10 s after Enter"

step "a drive plugged in and taken out while the program runs"
"$root/tools/without-drives.sh" bash "$here/hotplug.sh" "$exe" "$probe_exe" \
    "$(dirname "$exe")/hotplug.exe" || fail "the drive list did not follow the plugged drive"

echo "e2e passed in $(($(date +%s) - started)) s"
