#!/usr/bin/env bash
# The keyboard alone: Tab to the list, Insert for Add Files, F5 for Copy Files, F7 for Check
# Device, the focus shown on an arrow button reached with Tab, and the list's menu by the menu
# key with the toolbar's commands in it, Copy Files chosen from it by its letter.
source "$(dirname "$0")/../lib.sh"

media_folder ovelo-e2e-keys
head -c 2000 /dev/urandom >"$media_unix/a.mp3"
head -c 3000 /dev/urandom >"$media_unix/b.mp3"

# Waits for FILE to arrive and the copy to end with "Complete"; the drive holds the two copies.
expect_copied() {
    for _ in $(seq 100); do [ -e "$drive/001_a.mp3" ] && break; sleep 0.1; done
    probe check-progress Complete 60000 || fail "the copy did not end with \"Complete\""
    expect_files "$drive" "001_a.mp3=$media_unix/a.mp3" "002_b.mp3=$media_unix/b.mp3"
    rm -f "$drive"/*
}

start_app
step "Tab from the drive list to the list, Insert opens Add Files"
xdotool windowfocus --sync "$main_x" 2>/dev/null || true
probe focus-main >/dev/null || fail "cannot give the main window the focus"
press Tab
probe check-focus 1009 || fail "Tab did not reach the list"
press Insert
type_in_dialog Open "$media"
type_in_dialog Open '"a.mp3" "b.mp3"'
probe check-rows "a.mp3,b.mp3" || fail "the files chosen after Insert were not appended"

step "F5 copies the list to the drive; F7 checks the copies, and names the one changed since"
press F5
for _ in $(seq 100); do [ -e "$drive/002_b.mp3" ] && break; sleep 0.1; done
probe check-progress Complete 60000 || fail "the copy did not end with \"Complete\""
press F7
probe close-message "All 2 copies on E: match their files." >/dev/null ||
    fail "F7 did not say that both copies match"
printf x | dd of="$drive/002_b.mp3" bs=1 seek=100 conv=notrunc status=none
press F7
said=$(probe close-message "*" | tr -d '\r')
[ "$said" = 'ok: the message says "E: holds matching copies of 1 of these 2 files.
Different: 002_b.mp3."' ] || fail "F7 did not name the changed copy alone: $said"
cp "$media_unix/b.mp3" "$drive/002_b.mp3"
expect_copied

step "Tab on to the up arrow: its focus rectangle shows"
press Tab
probe check-focus 1012 || fail "Tab did not reach the up arrow"
park_pointer
shot keys-focus
look keys-focus arrow up rest+focus arrow down rest

step "the menu key's menu holds the toolbar's commands; Copy Files chosen by its letter"
press shift+Tab
probe check-focus 1009 || fail "Shift+Tab did not go back to the list"
press Menu
probe check-menu "+-|---+++|++|+++++" || fail "the menu lacks the toolbar's commands"
press p
expect_copied
close_app
