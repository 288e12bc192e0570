# Sourced by each end-to-end step: starting and ending the program, reading it through
# e2e_probe, driving it with xdotool, and its screenshots and their pixel checks.
# run.sh exports E2E_EXE, E2E_PROBE, E2E_HOTPLUG and E2E_SHOTS (the screenshot folder) and
# gives the steps an X display, the test prefix with its drives and one Wine server.
set -euo pipefail
# Traced commands (E2E_TRACE=1) show the seconds and milliseconds at which they ran.
PS4='+ $(date +%S.%N | cut -c1-6) '

e2e=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$e2e/../.." && pwd)
source "$root/tools/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$OVELO_TEST_PREFIX}

exe=$E2E_EXE
log=$(mktemp -d)
app_pid=
layout=$log/layout
# Folders and drive links a step makes; removed when it ends, however it ends.
scratch=()
# Drive letters of the volumes a step mounted (mount_volume); removed when it ends.
volumes_made=()

step() { echo "== $*"; }

# A fresh folder NAME on C: for a step's source files, $media_unix on the host and $media as
# the program names it, removed when the step ends; and $drive, E:, emptied.
media_folder() {
    media_unix=$WINEPREFIX/drive_c/$1
    media="C:\\$1"
    drive=$WINEPREFIX/dosdevices/e:
    scratch+=("$media_unix")
    rm -rf "$media_unix"
    clear_drive "$drive"
    mkdir -p "$media_unix"
}

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
    trap '' INT TERM # a second signal must not cut the cleanup short
    stop_app
    # A step's own leftovers, such as drives it plugged in.
    if declare -F step_cleanup >/dev/null; then step_cleanup; fi
    local letter
    for letter in "${volumes_made[@]}"; do "$root/tools/test-volume.sh" remove "$letter"; done
    rm -rf "$log" "${scratch[@]}"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Runs one probe sub-command; its own waits are shorter than this bound.
probe() { timeout -k 5 120 "$WINE" "$E2E_PROBE" "$@"; }
hotplug() { timeout -k 5 60 "$WINE" "$E2E_HOTPLUG" "$@"; }

# Starts the program and waits for its window; reads where its parts are on the screen.
start_app() {
    "$WINE" "$exe" >"$log/app.out" 2>&1 &
    app_pid=$!
    probe wait-main 20000 >/dev/null || fail "the window \"Ovelo Playlist Tool\" did not appear"
    probe layout | tr -d '\r' >"$layout" || fail "cannot read the window's layout"
    main_x=$(x_window "Ovelo Playlist Tool")
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

# Closes the window with its close box, as a person would, and waits for the process to end.
close_app() {
    click closebox
    wait_app_exit 10 || fail "the program was still running 10 s after a click on the close box"
    probe wait-gone 5000 >/dev/null || fail "a window outlived the program"
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
    probe "$focus_cmd" >/dev/null || fail "cannot give \"$title\" the focus"
    xdotool key --clearmodifiers "$key" || fail "xdotool cannot type $key"
}

# The middle of a part of the window named in the layout (see e2e_probe layout), on the screen.
centre() {
    awk -v name="$1" '$1 == name { print int(($2 + $4) / 2), int(($3 + $5) / 2); found = 1 }
                      END { exit !found }' "$layout" || fail "the layout has no \"$1\""
}

# Moves the pointer onto a part of the window: a layout name, or "X Y".
point_at() {
    local x y
    if [ $# -eq 2 ]; then
        x=$1 y=$2
    elif [ "$1" = closebox ]; then
        read -r _ x y < <(grep '^closebox ' "$layout") || fail "the layout has no close box"
    else
        read -r x y < <(centre "$1")
    fi
    # --sync waits for the pointer to move, which it never does when it is there already.
    [ "$(xdotool getmouselocation --shell | head -n 2 | tr '\n' ' ')" = "X=$x Y=$y " ] ||
        xdotool mousemove --sync "$x" "$y"
}

click() { # NAME [BUTTON]
    point_at "$1"
    xdotool click "${2:-1}"
    sleep 0.3
}

# Parks the pointer where it lights nothing: a plain patch of the window below the list.
park_pointer() {
    local x y
    read -r _ _ _ x y < <(grep '^list ' "$layout")
    point_at "$((x - 20))" "$((y + 2))"
    sleep 0.3
}

press() {
    xdotool key --clearmodifiers "$1"
    sleep 0.3
}

row_point() { probe row-point "$1" | tr -d '\r'; }

# Drops files and folders on the list from outside, as a file manager does, below its rows.
drop_on_list() { # PATH...
    local x y
    read -r x y _ < <(row_point -1)
    python3 "$e2e/xdnd-drop.py" "$main_x" "$x" "$y" "$@" || fail "the drop did not reach the window"
}

click_row() { # ROW [BUTTON]
    local x y
    read -r x y _ < <(row_point "$1")
    point_at "$x" "$y"
    xdotool click "${2:-1}"
    sleep 0.3
}

# Types into a dialog of the program's once it shows, and presses Enter.
type_in_dialog() {
    local id
    id=$(x_window "$1")
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool type --delay 10 "$2"
    press Return
}

# Saves a screenshot of the window as $E2E_SHOTS/NAME.png, once it has painted (after
# SECONDS, half a second by default).
shot() {
    local left top right bottom
    sleep "${2:-0.5}"
    read -r _ left top right bottom < <(grep '^window ' "$layout")
    # From the screen as a person sees it: a capture of the window alone shows the windows
    # above it, such as a tooltip, black.
    import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
        "$E2E_SHOTS/$1.png" || fail "cannot capture the window as $1"
}

# Checks the screenshot NAME with look.py's checks.
look() {
    local name=$1
    shift
    python3 "$e2e/look.py" "$layout" "$E2E_SHOTS/$name.png" "$@" ||
        fail "the screenshot $name.png does not look right"
}

# Clicks Copy Files and waits for the copy to end with TEXT. It waits for FILE to arrive
# first, so that the text an earlier copy left is not taken for this one's.
copy_files() { # TEXT FILE
    click copy-files
    for _ in $(seq 100); do
        [ -e "$2" ] && break
        sleep 0.1
    done
    [ -e "$2" ] || fail "the copy did not start: no $2"
    probe check-progress "$1" 60000 || fail "the copy did not end with \"$1\""
    close_order_line >/dev/null
}

# The question after a copy whose files do not stand on the disk in list order, as a copy
# into the gaps of a FAT or exFAT volume can leave them; how many files it moves follows.
order_question="The files on E: do not stand on the disk in the order of the list, and players \
that play files in the order they were written will play them in another order. Put them in \
order now? This moves "
# Answers that question with BUTTON (no by default) where it may show, with a volume on E:,
# so that the step goes on; any other message fails the step. Prints "asked" when it showed.
close_order_line() { # [BUTTON [MS]]
    local text
    [ -f "$volumes/e.state" ] || return 0
    text=$(probe close-message "*" "${1:-no}" "${2:-1500}" | tr -d '\r') || return 0
    [[ $text == "ok: the message says \"$order_question"*" files on E: and copies none.\"" ]] ||
        fail "after the copy the program said: $text"
    echo asked
}

# The folder holds exactly the files NAME, each the same as SOURCE byte for byte:
# expect_files FOLDER NAME=SOURCE...
expect_files() {
    local folder=$1 pair name wanted= held
    shift
    for pair in "$@"; do
        name=${pair%%=*}
        cmp -s "$folder/$name" "${pair#*=}" || fail "$folder/$name is not a copy of ${pair#*=}"
        wanted+=$name$'\n'
    done
    held=$(drive_files "$folder")
    [ "$held" = "$(printf %s "$wanted" | LC_ALL=C sort -u)" ] ||
        fail "$folder holds \"$(echo $held)\", expected \"$(echo $wanted)\""
    echo "ok: $folder holds exact copies: $(echo $held)"
}

# The files of a folder in the order they were created, one per line; nothing when the file
# system keeps no birth times.
created_order() {
    local name
    # -L: the drive's folder is reached through its link in dosdevices.
    [ "$(stat -L -c %W "$1")" != 0 ] || return 0
    drive_files "$1" | while IFS= read -r name; do stat --printf '%.9W %n\n' "$1/$name"; done |
        sort -n | sed 's/^[^ ]* //; s|.*/||'
}

# Real volumes (tools/test-volume.sh): a drive's folder with a FAT12, FAT16, FAT32 or exFAT
# volume mounted on it, so that a step meets the player's file systems and their drivers.
# A step that needs one of its own:
#   mount_volume fat16 64M        # before start_app: giving Wine a FAT device restarts its
#                                 # server; E: by default, or a third argument such as G,
#                                 # and options for mkfs after it (-r 256, -i SERIAL)
#   ... copy onto "$drive" ...
#   volume_order                  # the root's names in disk order (fatsort -l), one a line;
#                                 # it unmounts the volume for a moment, also while the
#                                 # program runs: nothing may write to the drive meanwhile
#   leave_gaps "$drive" 002_b.mp3 # deletes files: their entries become gaps on the disk
#   remove_volume                 # takes it away before the step ends
# The volume goes when the step ends. Where volumes cannot be made here, the step ends at
# mount_volume with the reason and counts as skipped.
volumes=$(dirname "$WINEPREFIX")/test-volumes

mount_volume() { # KIND SIZE [LETTER [MKFS_OPTION...]]
    local letter=${3:-E} status=0
    "$root/tools/test-volume.sh" make "$1" "$2" "$letter" "${@:4}" || status=$?
    [ "$status" -ne 77 ] || exit 77
    [ "$status" -eq 0 ] || fail "cannot make a $1 volume of $2 on ${letter^^}:"
    volumes_made+=("$letter")
}

# Takes a volume away before the step ends, to make another on its drive.
remove_volume() { # [LETTER]
    "$root/tools/test-volume.sh" remove "${1:-E}"
}

volume_order() { # [LETTER]
    "$root/tools/test-volume.sh" order "${1:-E}" || fail "cannot read the disk order of ${1:-E}:"
}

leave_gaps() { # FOLDER NAME...
    local folder=$1 name
    shift
    for name in "$@"; do rm -- "$folder/$name" || fail "cannot delete $folder/$name"; done
}

# The name under which the FAT driver lists the volume's label as an empty file in its root,
# when FOLDER is the root of such a volume; nothing otherwise.
volume_label() {
    local folder state
    folder=$(realpath "$1")
    for state in "$volumes"/*.state; do
        [ -f "$state" ] && grep -qx "folder=$folder" "$state" && grep -q '^kind=fat' "$state" ||
            continue
        sed -n 's/^label=//p' "$state"
    done
}

# The program's record of its copies in a drive's root (copy/CopyRecord.cpp).
copy_record="~ovelo.own"

# The names in FOLDER, sorted bytewise, one a line, without a volume's label and the
# program's record of its copies.
drive_files() {
    local label
    label=$(volume_label "$1")
    LC_ALL=C ls -A "$1" | grep -vxF -e "$copy_record" ${label:+-e "$label"} || true
}

# Empties FOLDER but for a volume's label, which belongs to the volume.
clear_drive() {
    local name
    drive_files "$1" | while IFS= read -r name; do rm -rf -- "${1:?}/$name"; done
    rm -f "${1:?}/$copy_record"
}
