#!/usr/bin/env bash
# End-to-end run of the real program under Wine, driven as a user would drive it:
# start it, read its window through e2e_probe, open and close the About box three times,
# take a screenshot, then close it with Esc, with the close box and with Enter, and check
# each time that the process ends. Then fill the playlist with files dropped from outside
# through the X drag protocol, and drive row dragging, the list's keys, its context menu and
# saved playlists with the mouse and keyboard; then plug a drive in and out while it runs
# (hotplug.sh).
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

# --- the playlist by mouse and keys: drops from outside, row dragging, keys, context menu ---
media_unix=$WINEPREFIX/drive_c/ovelo-e2e
media='C:\ovelo-e2e'
rm -rf "$media_unix"
mkdir -p "$media_unix/album/sub"
# அ: a name no ANSI code page spells.
for name in a.mp3 b.mp3 d.mp3 e.mp3 அ.mp3 album/01.jpg album/02.mp3 album/notes.txt album/sub/03.avi; do
    echo "$name" >"$media_unix/$name"
done
printf '#EXTM3U\r\n#EXTINF:10,D\r\nd.mp3\r\nalbum/../e.mp3\r\nmissing.mp3\r\n' >"$media_unix/list.m3u8"
# Dragging, typing and clicking in the list; each settles before the next step reads it.
row_point() { probe row-point "$1" | tr -d '\r'; }
click_row() { # ROW [BUTTON]
    local x y
    read -r x y _ < <(row_point "$1")
    xdotool mousemove "$x" "$y" click "${2:-1}"
    sleep 0.3
}
press() { xdotool key --clearmodifiers "$1"; sleep 0.3; }
# Types a file name into the program's file dialog once it shows and presses Enter.
type_in_dialog() {
    local id
    id=$(x_window "$1")
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool type --delay 10 "$2"
    press Return
}
# The dragged rows' insertion line must show dark across the list at screen row $2.
expect_insertion_line() {
    local line
    sleep 0.5
    line=$(import -window root -crop 200x1+"$1"+"$2" -format '%[fx:mean]' info:-)
    echo "insertion line brightness $line"
    [[ $line =~ ^[0-9.]+$ ]] && awk -v m="$line" 'BEGIN { exit !(m < 0.2) }' ||
        fail "no dark insertion line at y $2 (mean brightness \"$line\")"
}
drive_e=$WINEPREFIX/dosdevices/e:

step "playlist: files, a folder and a playlist dropped from outside"
start_app
main_x=$(x_window "Ovelo Playlist Tool")
read -r x y _ < <(row_point -1)
python3 "$here/xdnd-drop.py" "$main_x" "$x" "$y" "$media_unix/a.mp3" "$media_unix/அ.mp3" \
    "$media_unix/b.mp3" "$media_unix/album" "$media_unix/list.m3u8" ||
    fail "the X drop did not reach the window"
probe close-message "Added 7 entries, skipped 2 (1 not found, 1 name not representable)." ||
    fail "no clear drop result"
probe check-rows "a.mp3,b.mp3,01.jpg,02.mp3,03.avi,d.mp3,e.mp3" || fail "dropped rows differ"

step "playlist: two rows dragged down past three, with the insertion point shown"
click_row 0
xdotool keydown shift; click_row 1; xdotool keyup shift
read -r x y _ < <(row_point 0)
read -r _ _ top _ < <(row_point 5)
xdotool mousemove "$x" "$y" mousedown 1 mousemove "$x" $((y + 8)) mousemove "$x" $((top + 2))
expect_insertion_line "$x" "$top"
xdotool mouseup 1
probe check-rows "01.jpg,02.mp3,03.avi,*a.mp3,*b.mp3,d.mp3,e.mp3" ||
    fail "the dragged rows did not land as a block before row 5"

step "playlist: a drag dropped outside the list changes nothing"
click_row 0
sleep 0.6 # past the double-click time: the next press starts a drag, not a double click
read -r x y _ < <(row_point 0)
read -r _ _ top _ < <(row_point 3)
xdotool mousemove "$x" "$y" mousedown 1 mousemove "$x" $((y + 8)) mousemove "$x" $((top + 2))
expect_insertion_line "$x" "$top"
xdotool mousemove "$x" $((y - 120))
sleep 0.3
xdotool mouseup 1
probe check-rows "*01.jpg,02.mp3,03.avi,a.mp3,b.mp3,d.mp3,e.mp3" ||
    fail "a drop outside the list moved rows"

step "playlist: a copy after dragging numbers the files in the new order"
probe copy-files || fail "cannot start Copy Files"
copies="001_01.jpg 002_02.mp3 003_03.avi 004_a.mp3 005_b.mp3 006_d.mp3 007_e.mp3"
for _ in $(seq 50); do [ "$(ls "$drive_e" | wc -l)" -ge 7 ] && break; sleep 0.2; done
received=$(ls "$drive_e" | tr '\n' ' ')
[ "$received" = "$copies " ] || fail "E: received $received"
echo "E: received $received"
rm -f "$drive_e"/*

step "playlist: Alt+Down, Delete and Ctrl+A in the list"
xdotool windowfocus --sync "$main_x" 2>/dev/null || true
probe focus-main >/dev/null || fail "cannot give the main window the focus"
click_row 3
press alt+Down
probe check-rows "01.jpg,02.mp3,03.avi,b.mp3,*a.mp3,d.mp3,e.mp3" || fail "Alt+Down did not move the row"
press Delete
probe check-rows "01.jpg,02.mp3,03.avi,b.mp3,d.mp3,e.mp3" || fail "Delete did not remove the row"
press ctrl+a
probe check-rows "*01.jpg,*02.mp3,*03.avi,*b.mp3,*d.mp3,*e.mp3" || fail "Ctrl+A did not select all"

step "playlist: the context menu by right click, menu key and Shift+F10, greyed where idle"
click_row 0
click_row 0 3
probe check-menu "+-+++|++" || fail "the menu on the first row is wrong"
press Escape
click_row 5
press Menu
probe check-menu "++-++|++" || fail "the menu key's menu on the last row is wrong"
press Escape
xdotool keydown ctrl; click_row 5; xdotool keyup ctrl
press shift+F10
probe check-menu "+---+|++" || fail "Shift+F10's menu without a selection is wrong"
press Escape
click_row 1 3
probe check-menu "+++++|++" || fail "the menu on a middle row is wrong"
press d
probe check-rows "01.jpg,03.avi,*02.mp3,b.mp3,d.mp3,e.mp3" || fail "Move Down from the menu did not act"

step "playlist: Ctrl+S saves the paths exactly, Ctrl+O appends them again"
press ctrl+s
type_in_dialog "Save As" "$media\\saved.m3u8"
for _ in $(seq 50); do [ -s "$media_unix/saved.m3u8" ] && break; sleep 0.1; done
expected=$(printf '#EXTM3U\r\n'; for name in album/01.jpg album/sub/03.avi album/02.mp3 b.mp3 d.mp3 e.mp3; do
    printf '%s\\%s\r\n' "$media" "${name//\//\\}"; done)
[ "$(cat "$media_unix/saved.m3u8")" = "$expected" ] ||
    fail "saved.m3u8 holds: $(cat -A "$media_unix/saved.m3u8")"
press ctrl+o
type_in_dialog "Open" "$media\\saved.m3u8"
probe check-rows "01.jpg,03.avi,*02.mp3,b.mp3,d.mp3,e.mp3,01.jpg,03.avi,02.mp3,b.mp3,d.mp3,e.mp3" ||
    fail "the opened playlist's rows differ"
probe post-close >/dev/null || fail "cannot close the main window"
wait_app_exit 10 || fail "the program was still running 10 s after the close command"
rm -rf "$media_unix"

step "a drive plugged in and taken out while the program runs"
"$root/tools/without-drives.sh" bash "$here/hotplug.sh" "$exe" "$probe_exe" \
    "$(dirname "$exe")/hotplug.exe" || fail "the drive list did not follow the plugged drive"

echo "e2e passed in $(($(date +%s) - started)) s"
