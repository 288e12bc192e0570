#!/usr/bin/env bash
# The window as it opens, its About box from the system menu three times over, and the three
# ways to close it (Esc, the close box, Enter), each ending the process.
source "$(dirname "$0")/../lib.sh"

free_before=$(probe disk-free E: | tr -d '\r') || fail "cannot read the free space of E: in $WINEPREFIX"

step "the window at the start"
start_app
probe check-main "$free_before" || fail "the main window is not as expected"
park_pointer
shot rest
look rest toolbar arrow up rest arrow down rest arrow remove rest arrow clear rest bar empty

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

step "a click on the close box ends the program"
start_app
close_app

step "Enter on the drive list ends the program"
start_app
probe focus-main || fail "cannot give the main window the focus"
# The window starts with the focus on its first tab stop, the drive list.
probe check-focus 1001 || fail "the drive list does not have the focus at start"
press_key_in "Ovelo Playlist Tool" Return focus-main
wait_app_exit 10 || fail "the program was still running 10 s after Enter"
