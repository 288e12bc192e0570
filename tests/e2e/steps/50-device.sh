#!/usr/bin/env bash
# Open Device and Format Device from the toolbar: whatever the shell shows for them is closed,
# the capacity is shown again after formatting, and the window goes on working.
source "$(dirname "$0")/../lib.sh"

drive=$WINEPREFIX/dosdevices/e:
media=$(mktemp -d)
scratch+=("$media" "$drive/filler")
rm -f "${drive:?}"/*
echo song >"$media/song.mp3"

start_app
step "Open Device"
click open-device
probe close-shell-windows 5000 || fail "the shell's window for Open Device did not close"
probe check-drive-list 0 E: G: || fail "the drive list changed"

step "Format Device shows the capacity again"
# Less free space than the window showed at the start, so that a stale figure shows.
fallocate -l 64M "$drive/filler"
free_before=$(probe disk-free E: | tr -d '\r')
click format-device
probe close-shell-windows 3000 || fail "the shell's window for Format Device did not close"
probe check-capacity E: "$free_before" || fail "the capacity was not shown again"
rm "$drive/filler"
park_pointer
shot formatted

step "the window goes on working: a file dropped and copied"
drop_on_list "$media/song.mp3"
copy_files Complete "$drive/001_song.mp3"
expect_files "$drive" "001_song.mp3=$media/song.mp3"
rm -f "$drive"/*
close_app
