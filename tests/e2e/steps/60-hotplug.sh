#!/usr/bin/env bash
# Drives plugged in and taken out with the hot-plug helper while the window is open: into an
# empty list, beside the selected drive, the selected one itself, and one in the middle of a
# copy to it. Runs with the test prefix's removable drives unmapped.
if [ -z "${E2E_WITHOUT_DRIVES:-}" ]; then
    E2E_WITHOUT_DRIVES=1 exec "$(dirname "$0")/../../../tools/without-drives.sh" bash "$0"
fi
source "$(dirname "$0")/../lib.sh"

# Beside the test prefix, so on the host disk that the prefix's C: shows too.
folders=$(dirname "$exe")/test-drives
scratch+=("$folders/H" "$folders/J")
mkdir -p "$folders/H" "$folders/J"
# A drive left plugged would stay in the prefix and show up in every later test.
step_cleanup() {
    for letter in H J; do
        [ -e "$WINEPREFIX/dosdevices/${letter,,}:" ] || continue
        hotplug unplug "$letter" >/dev/null 2>&1 || rm -f "$WINEPREFIX/dosdevices/${letter,,}:"
    done
}

step "start with no removable drive"
start_app
probe check-drive-list -1 || fail "the drive list is not empty at the start"
park_pointer
shot no-drive

free=$(probe disk-free C: | tr -d '\r') || fail "cannot read the free space of C:"
# Each event, then the drive list and its selection, and the capacity text: a drive's
# figures (H: and J: are folders on C:'s disk), or blank.
while read -r action letter selected entries capacity; do
    step "$action $letter:"
    case $action in
        plug) hotplug plug "$letter" "$folders/$letter" ;;
        unplug) hotplug unplug "$letter" ;;
        select) # with the keyboard in the dropped list
            click drives
            press Down
            press Return
            ;;
    esac || fail "cannot $action $letter:"
    [ "$entries" != - ] || entries=
    probe check-drive-list "$selected" ${entries//,/ } || fail "the drive list is wrong after $action $letter:"
    if [ "$capacity" = blank ]; then
        probe check-capacity-text " " || fail "the capacity text is not blank"
        shot "$action-$letter"
        # No drive is shown as chosen, as at the start.
        look "$action-$letter" same-part drives "$E2E_SHOTS/no-drive.png"
    else
        probe check-capacity "$capacity" "$free" || fail "the capacity text does not show $capacity"
    fi
done <<'TABLE'
plug H 0 H: H:
plug J 0 H:,J: H:
select J 1 H:,J: J:
unplug H 0 J: J:
unplug J -1 - blank
plug H 0 H: H:
TABLE

step "H: unplugged in the middle of a long copy to it"
media=$(mktemp -d)
scratch+=("$media")
count=2500
python3 - "$media" "$count" <<'PY'
import os, sys
for i in range(1, int(sys.argv[2]) + 1):
    with open(os.path.join(sys.argv[1], "t%04d.mp3" % i), "wb") as f:
        f.write(os.urandom(4096))
PY
drop_on_list "$media"
click copy-files
for _ in $(seq 100); do
    [ "$(ls "$folders/H" | wc -l)" -ge 20 ] && break
    sleep 0.05
done
shot copying 0
# The busy window answers the helper's announcement only once the copy has ended.
hotplug unplug H || fail "the helper could not unplug H:"
text=$(probe progress-text 120000 | tr -d '\r') || fail "the window did not answer after the copy"
shopt -s nullglob
copies=("$folders/H"/[0-9][0-9][0-9]*_t[0-9][0-9][0-9][0-9].mp3)
arrived=${#copies[@]}
echo "$arrived of $count files arrived before H: was unplugged; the bar says \"$text\""
[ "$arrived" -gt 0 ] && [ "$arrived" -lt "$count" ] || fail "H: was not unplugged mid-copy"
# The drive left before their check: the copies that arrived are counted as not checked.
[ "$text" = "Complete, $((count - arrived)) of $count files failed, $arrived copies not checked" ] ||
    fail "the bar says \"$text\" with $arrived of $count files on H:"
# Whole copies of the list's first rows, each under its final name (four digits for 2,500 rows).
for i in $(seq "$arrived"); do
    name=$(printf '%04u_t%04d.mp3' "$i" "$i")
    cmp -s "$folders/H/$name" "$media/${name#*_}" || fail "$name on H: is not a whole copy"
done
echo "ok: the files that arrived are the first $arrived of the list, whole"
shot copy-cut-short
look copying bar part
probe check-drive-list -1 || fail "H: is still listed after its removal"
look copy-cut-short bar full same-part drives "$E2E_SHOTS/no-drive.png"

# The question before copying onto H: again, which runs a modal loop: H: leaves meanwhile and
# then J: comes, which is selected. Yes must write nothing, on no drive, the bar untouched.
step "the drive leaves, or another comes, while the question before a copy is open"
click clear
rm -rf "${folders:?}/H"/* "$folders/J"/*
echo song >"$media/song.mp3"
hotplug plug H "$folders/H" || fail "cannot plug H:"
drop_on_list "$media/song.mp3"
copy_files Complete "$folders/H/001_song.mp3"
# Each file's name, size and time: the copy's, and once it is written, the record of it.
for _ in $(seq 50); do [ -e "$folders/H/$copy_record" ] && break; sleep 0.1; done
held=$(find "$folders/H" -mindepth 1 -printf '%f %s %T@\n' | sort)
for arrival in "" J; do
    click copy-files
    probe close-message "H: already holds this file from an earlier copy. It is up to date: keep it as it is?" keep ||
        fail "the question before the copy did not show"
    hotplug unplug H || fail "cannot unplug H:"
    [ -z "$arrival" ] || hotplug plug J "$folders/J" || fail "cannot plug J:"
    probe close-message "*" yes || fail "the question did not take its answer"
    sleep 1
    [ "$(probe progress-text 5000 | tr -d '\r')" = Complete ] || fail "the bar changed after Yes"
    [ "$(find "$folders/H" -mindepth 1 -printf '%f %s %T@\n' | sort)" = "$held" ] &&
        [ -z "$(ls -A "$folders/J")" ] &&
        [ ! -e /001_song.mp3 ] && [ ! -e /~ovelo.tmp ] && [ ! -e "$WINEPREFIX/drive_c/001_song.mp3" ] ||
        fail "a copy was written after the drive left${arrival:+ and $arrival: came}"
    hotplug plug H "$folders/H" || fail "cannot plug H: again"
    [ -z "$arrival" ] || hotplug unplug J || fail "cannot unplug J:"
done
echo "ok: nothing was written when the drive that the question named had gone"
close_app
