#!/usr/bin/env bash
# An update touches only the program's own copies, on the card it was asked about, with a
# FAT16 card as H:, the only drive: the user's photos and files beside an earlier copy, named
# as copies are, stay byte for byte; and when the card is swapped for another under the same
# letter while the question is open (the same label, another serial number), neither card gets
# anything. Runs with the test prefix's removable drives unmapped.
if [ -z "${E2E_WITHOUT_DRIVES:-}" ]; then
    E2E_WITHOUT_DRIVES=1 exec "$(dirname "$0")/../../../../tools/without-drives.sh" bash "$0"
fi
source "$(dirname "$0")/../../lib.sh"

media_unix=$WINEPREFIX/drive_c/ovelo-e2e-own
card=$(dirname "$exe")/test-drives/H
scratch+=("$media_unix" "$card")
rm -rf "$media_unix"
mkdir -p "$media_unix" "$card"
# A drive left plugged would stay in the prefix and show up in every later test.
step_cleanup() {
    [ -e "$WINEPREFIX/dosdevices/h:" ] || return 0
    hotplug unplug H >/dev/null 2>&1 || rm -f "$WINEPREFIX/dosdevices/h:"
}
# Takes the card out, puts the other one in its place (made with the options given the first
# time) and plugs it in as Windows would.
swap_card() { # [MKFS_OPTION...]
    local device
    hotplug unplug H || fail "cannot take H: out"
    device=$("$root/tools/test-volume.sh" swap H "$@") || fail "cannot swap the card behind H:"
    hotplug plug H "$card" "$device" || fail "cannot plug the other card in as H:"
}

step "an update beside the user's files, named as copies are"
hotplug plug H "$card" || fail "cannot plug H:"
mount_volume fat16 32M H -i 11111111
mkdir "$media_unix/user"
for name in 20230815_142311.jpg 20230815_142502.jpg 01_Intro.mp3 2023_taxes.pdf; do
    head -c 3000 /dev/urandom >"$media_unix/user/$name"
    cp "$media_unix/user/$name" "$card/"
done
for song in a b c; do head -c 2000 /dev/urandom >"$media_unix/$song.mp3"; done
start_app
probe check-drive-list 0 H: || fail "H: is not the one drive, selected"
drop_on_list "$media_unix/a.mp3"
copy_files Complete "$card/001_a.mp3"
drop_on_list "$media_unix/b.mp3"
click copy-files
probe close-message "H: already holds 1 of these 2 files from an earlier copy. Update it: copy 1 new file?" yes ||
    fail "the question named the user's files"
probe check-progress Complete 20000 || fail "the update did not end with \"Complete\""
user=()
for name in "$media_unix/user"/*; do user+=("${name##*/}=$name"); done
expect_files "$card" "${user[@]}" "001_a.mp3=$media_unix/a.mp3" "002_b.mp3=$media_unix/b.mp3"

step "the card swapped for another while the question is open: nothing written to either"
for _ in $(seq 50); do [ -e "$card/$copy_record" ] && break; sleep 0.1; done
held=$(find "$card" -mindepth 1 -printf '%f %s %T@\n' | sort)
drop_on_list "$media_unix/c.mp3"
click copy-files
probe close-message "H: already holds 2 of these 3 files from an earlier copy. Update it: copy 1 new file?" keep ||
    fail "no question before the update"
swap_card -i 22222222
probe check-drive-list 0 H: || fail "the other card is not selected as H:"
probe close-message "*" yes || fail "the question did not take its answer"
sleep 1
[ "$(probe progress-text 5000 | tr -d '\r')" = Complete ] || fail "the bar changed after Yes"
[ -z "$(drive_files "$card")" ] && [ ! -e "$card/$copy_record" ] ||
    fail "the other card got $(ls -A "$card")"
swap_card
[ "$(find "$card" -mindepth 1 -printf '%f %s %T@\n' | sort)" = "$held" ] ||
    fail "the first card changed while it was out"
echo "ok: the plan for one card was carried out on none"
close_app
