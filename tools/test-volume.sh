#!/usr/bin/env bash
# Real FAT and exFAT volumes for the tests, made from sparse image files and mounted through
# FUSE where a test drive's folder is, so that the drive letter keeps its folder and its type.
#
#   test-volume.sh make KIND SIZE LETTER [MKFS_OPTION...]
#                                         KIND is fat12, fat16, fat32 or exfat, SIZE as
#                                         truncate(1) takes it (64M, 1G); labelled PLAYER;
#                                         MKFS_OPTIONs go to mkfs (-r 256, -i SERIAL); or
#                                         fakecard: a card that claims SIZE and stores half
#                                         of it (tools/fake-card.py)
#   test-volume.sh order LETTER           the root's entries in disk order, one per line
#                                         (unmounts for fatsort -l, then mounts again)
#   test-volume.sh swap LETTER [MKFS_OPTION...]
#                                         puts a second volume of the same kind and size
#                                         (made with MKFS_OPTIONs the first time) in the
#                                         volume's place, or the first one back; prints the
#                                         device now mounted. Wine hears of it only through
#                                         its mount manager: unplug the drive before, plug it
#                                         with the device after (hotplug)
#   test-volume.sh remove LETTER          unmounts, detaches and deletes the volume(s)
#   test-volume.sh run KIND SIZE LETTER COMMAND...
#                                         makes the volume, runs COMMAND, removes the volume
#                                         however COMMAND ends; exits with COMMAND's status
#   test-volume.sh check KIND             exits 0 where such volumes can be made
#
# A fake card has no image, loop device or disk order: its driver keeps it in memory.
#
# Where they cannot be made here (no /dev/fuse, no loop device, not root, a tool missing), it
# says why and exits 77, which the ctest entries count as skipped.
#
# The image, its loop device and the FUSE driver are recorded in test-volumes/LETTER.state
# beside the Wine prefix (WINEPREFIX, the test prefix by default). A FAT volume also gets
# the device link dosdevices/LETTER:: so that Wine reads its boot sector: GetVolumeInformation
# then answers the label and "FAT" or "FAT32". The Wine server reads that link only when it
# starts, so a running server is restarted whenever the link comes or goes; mounting again
# needs no restart. exFAT gets no link: Wine finds its device in the mount table and cannot
# tell its file system either way (with the link it would claim "NTFS").
#
# Quirks of the drivers that tests meet (fusefat for FAT, exfat-fuse for exFAT):
# - fusefat lists the label as an empty file (PLAYER); gives every name a long-name entry, 8.3
#   ones too; refuses names beyond ASCII (and loses a file whose rename to one it refuses)
#   and files over 2 GiB, with ERROR_ACCESS_DENIED as for a full disk or root; cannot replace
#   a file's bytes in place (CopyFile onto an existing file), nor keep read-only attributes;
#   stores months one too low (and reads them back the same way); reports 0 of 0 bytes where
#   a cluster is 512 bytes (FAT32 up to 256 MiB); keeps no birth times; and takes longer for
#   each entry a folder already holds (1,000 new files in a root: ten minutes).
# - exfat-fuse lists a folder newest first until it is mounted again, keeps no birth times,
#   and does not keep read-only attributes either.
# - Either driver puts a new or renamed entry into the first gap of deleted entries that fits.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
export WINEPREFIX=${WINEPREFIX:-$OVELO_TEST_PREFIX}
export LC_ALL=C.UTF-8 # fatsort reads names beyond ASCII only in a UTF-8 locale
state_dir=$(dirname "$WINEPREFIX")/test-volumes
label=PLAYER
skipped=77

usage() {
    sed -n '5,24p' "$0" | sed 's/^# //' >&2
    exit 2
}

skip() {
    echo "test-volume: no volume can be made here: $*" >&2
    exit "$skipped"
}

# Says why volumes of KIND cannot be made here, if they cannot.
check() {
    local kind=$1 tool
    local tools=(losetup mountpoint fatsort truncate)
    case $kind in
        fat12 | fat16 | fat32) tools+=(mkfs.vfat fusefat) ;;
        exfat) tools+=(mkfs.exfat mount.exfat-fuse) ;;
        fakecard) tools=(mountpoint) ;;
        *) usage ;;
    esac
    [ "$(id -u)" -eq 0 ] || skip "loop devices and FUSE mounts of block devices need root"
    for tool in "${tools[@]}"; do
        command -v "$tool" >/dev/null || skip "$tool is missing (tools/install-deps.sh installs it)"
    done
    [ -c /dev/fuse ] && [ -r /dev/fuse ] && [ -w /dev/fuse ] ||
        skip "/dev/fuse is missing or not usable (a container needs --device /dev/fuse)"
    [ "$kind" != fakecard ] || /usr/bin/python3 -c 'import fusepy' 2>/dev/null ||
        skip "python3-fusepy is missing (tools/install-deps.sh installs it)"
    [ "$kind" = fakecard ] || losetup -f >/dev/null 2>&1 ||
        skip "no free loop device (a container needs loop devices and /dev/loop-control)"
}

letter_of() {
    local letter=${1,,}
    [[ $letter =~ ^[d-y]$ ]] || { echo "test-volume: drive letter must be D to Y: $1" >&2; exit 2; }
    echo "$letter"
}

# The driver's process for this device and folder, which ends some time after the unmount.
driver_pid() {
    pgrep -f "^(fusefat|mount\.exfat-fuse) .*$device $folder\$" | head -n 1 || true
}

# Files an earlier test left in the folder are hidden while the volume is mounted there.
mount_volume() {
    case $kind in
        exfat) mount.exfat-fuse -o nonempty "$device" "$folder" >/dev/null 2>&1 ;;
        fakecard)
            /usr/bin/python3 "$(dirname "$0")/fake-card.py" "$size" "$folder" \
                </dev/null >"$state_dir/$letter.log" 2>&1 &
            pid=$!
            local _
            for _ in $(seq 50); do mountpoint -q "$folder" && break; sleep 0.1; done
            mountpoint -q "$folder" || kill "$pid" 2>/dev/null || true
            ;;
        # rw+ enables writing; fusefat talks about the volume on its output.
        *) fusefat -o rw+,nonempty "$device" "$folder" </dev/null >/dev/null 2>&1 ;;
    esac
    # fusefat exits 0 also where it did not mount.
    mountpoint -q "$folder" || { echo "test-volume: cannot mount $kind on $folder" >&2; return 1; }
    [ "$kind" = fakecard ] || pid=$(driver_pid)
}

# With "lazy", a volume still busy after 5 s is detached at once and released when its last
# file closes; otherwise that fails.
unmount_volume() {
    mountpoint -q "$folder" || return 0
    local _
    for _ in $(seq 50); do
        umount "$folder" 2>/dev/null && break
        sleep 0.1
    done
    if mountpoint -q "$folder"; then
        [ "${1:-}" = lazy ] || { echo "test-volume: $folder is busy" >&2; return 1; }
        umount -l "$folder" || true
    fi
    # The driver writes its last changes after the unmount returns.
    for _ in $(seq 100); do
        [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
}

save_state() {
    printf 'kind=%s\nimage=%s\ndevice=%s\nfolder=%s\npid=%s\nlink=%s\nlabel=%s\nsize=%s\nother_image=%s\nother_device=%s\n' \
        "$kind" "$image" "$device" "$folder" "$pid" "$link" "$label" "$size" "$other_image" \
        "$other_device" >"$state_dir/$letter.state"
}

load_state() {
    state=$state_dir/$letter.state
    [ -f "$state" ] || return 1
    local key value
    size= other_image= other_device=
    while IFS='=' read -r key value; do
        case $key in
            kind | image | device | folder | pid | link | size | other_image | other_device)
                printf -v "$key" %s "$value" ;;
        esac
    done <"$state"
}

restart_server() {
    if "$WINESERVER" -k 2>/dev/null; then
        "$WINESERVER" -w
        wine_start_server
    fi
}

remove() {
    letter=$(letter_of "$1")
    load_state || return 0
    unmount_volume lazy
    [ -z "$device" ] || losetup -d "$device" 2>/dev/null || true
    if [ -n "$other_device" ]; then
        losetup -d "$other_device" 2>/dev/null || true
        rm -f "$other_image"
    fi
    if [ -n "$link" ] && [ -L "$link" ]; then
        rm -f "$link"
        restart_server
    fi
    rm -f "$image" "$state" "$state_dir/$letter.log"
}

# Makes an image of KIND and SIZE labelled PLAYER with the mkfs options given.
format_image() { # IMAGE MKFS_OPTION...
    local file=$1
    shift
    rm -f "$file"
    truncate -s "$size" "$file"
    case $kind in
        exfat) mkfs.exfat -L "$label" "$@" "$file" >/dev/null ;;
        *) mkfs.vfat -F "${kind#fat}" -n "$label" "$@" "$file" >/dev/null ;;
    esac
}

make_volume() {
    kind=$1
    size=$2
    letter=$(letter_of "$3")
    shift 3
    check "$kind"
    if load_state; then
        if mountpoint -q "$folder"; then
            echo "test-volume: drive ${letter^}: has a volume already" \
                "(tools/test-volume.sh remove ${letter^} takes it away)" >&2
            exit 1
        fi
        remove "$letter" # what a run that was killed left behind
    fi
    folder=$(readlink "$WINEPREFIX/dosdevices/$letter:" || true)
    [ -d "$folder" ] || { echo "test-volume: drive ${letter^}: has no folder" >&2; exit 1; }
    ! mountpoint -q "$folder" || { echo "test-volume: $folder is mounted already" >&2; exit 1; }
    mkdir -p "$state_dir"
    image= device= pid= link= other_image= other_device=
    if [ "$kind" != fakecard ]; then
        image=$state_dir/$letter.img
        format_image "$image" "$@"
        device=$(losetup -f --show "$image")
    fi
    save_state
    mount_volume || { remove "$letter"; exit 1; }
    if [ "$kind" = fat12 ] || [ "$kind" = fat16 ] || [ "$kind" = fat32 ]; then
        link=$WINEPREFIX/dosdevices/$letter::
        ln -sfn "$device" "$link"
        restart_server
    fi
    save_state
}

swap() {
    letter=$(letter_of "$1")
    shift
    load_state || { echo "test-volume: drive ${letter^}: has no volume" >&2; exit 1; }
    if [ -z "$other_device" ]; then
        other_image=$state_dir/$letter-other.img
        format_image "$other_image" "$@"
        other_device=$(losetup -f --show "$other_image")
        save_state
    fi
    unmount_volume || exit 1
    local swapped_image=$image swapped_device=$device
    image=$other_image device=$other_device
    other_image=$swapped_image other_device=$swapped_device
    mount_volume || { save_state; exit 1; }
    [ -z "$link" ] || ln -sfn "$device" "$link"
    save_state
    echo "$device"
}

# fatsort lists each folder as "/path/" followed by its entries and an empty line.
order() {
    letter=$(letter_of "$1")
    load_state || { echo "test-volume: drive ${letter^}: has no volume" >&2; exit 1; }
    [ "$kind" != fakecard ] || { echo "test-volume: a fake card has no disk order" >&2; exit 1; }
    unmount_volume || exit 1
    local listing errors status=0
    errors=$(mktemp)
    listing=$(fatsort -l "$device" 2>"$errors") || status=$?
    # It warns of the C locale even in C.UTF-8, where it reads every name.
    grep -v 'C locale does not support' "$errors" >&2 || true
    rm -f "$errors"
    mount_volume
    save_state
    [ "$status" -eq 0 ] || { echo "test-volume: fatsort -l $device failed" >&2; exit 1; }
    awk '$0 == "/" { root = 1; next } root && $0 == "" { exit } root' <<<"$listing"
}

[ $# -ge 1 ] || usage
command=$1
shift
case $command in
    check) [ $# -eq 1 ] || usage; check "$1" ;;
    make) [ $# -ge 3 ] || usage; make_volume "$@" ;;
    order) [ $# -eq 1 ] || usage; order "$1" ;;
    swap) [ $# -ge 1 ] || usage; swap "$@" ;;
    remove) [ $# -eq 1 ] || usage; remove "$1" ;;
    run)
        [ $# -ge 4 ] || usage
        volume_letter=$3
        # A second signal must not cut the removal short.
        trap 'trap "" INT TERM; remove "$volume_letter"' EXIT
        trap 'exit 130' INT TERM # removes the volume through the EXIT trap
        make_volume "$1" "$2" "$3"
        shift 3
        # In the background, so that a signal reaches the trap at once.
        "$@" &
        command_pid=$!
        trap 'kill "$command_pid" 2>/dev/null; exit 130' INT TERM
        status=0
        wait "$command_pid" || status=$?
        exit "$status"
        ;;
    *) usage ;;
esac
