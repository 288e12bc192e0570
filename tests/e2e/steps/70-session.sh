#!/usr/bin/env bash
# A long session by mouse: hundreds of hovers over the toolbar and the arrow buttons, clicks
# that move a row down and up again, copies and a drive plugged in and out, after which the
# window looks exactly as it did before the session.
source "$(dirname "$0")/../lib.sh"

drive=$WINEPREFIX/dosdevices/e:
plugged=$(dirname "$exe")/test-drives/K
media=$(mktemp -d)
scratch+=("$media" "$plugged")
mkdir -p "$plugged"
clear_drive "$drive"
for name in a b c d; do echo "$name" >"$media/$name.mp3"; done
step_cleanup() {
    [ ! -e "$WINEPREFIX/dosdevices/k:" ] || hotplug unplug K >/dev/null 2>&1 ||
        rm -f "$WINEPREFIX/dosdevices/k:"
}

# What every round ends with: row b moved down and up again by the arrow buttons...
move_down_and_up() {
    point_at "$row_x" "$row_y"
    xdotool click 1
    point_at down
    xdotool click 1
    point_at up
    xdotool click 1
}

# ...and, every fifth round, a copy.
move_and_copy() {
    move_down_and_up
    clear_drive "$drive"
    copy_files Complete "$drive/001_a.mp3"
}

start_app
drop_on_list "$media"/{a,b,c,d}.mp3
read -r row_x row_y _ < <(row_point 1)
move_and_copy
park_pointer
shot session-before

rounds=40
step "$rounds rounds of hovers over twelve places, three clicks, and a copy every fifth"
started=$(date +%s)
for round in $(seq "$rounds"); do
    for part in up down remove clear add-files copy-files open-device format-device up clear \
        progress list; do
        point_at "$part"
    done
    if [ $((round % 5)) -eq 0 ]; then
        move_and_copy
    else
        move_down_and_up
    fi
    if [ $((round % 10)) -eq 0 ]; then
        hotplug plug K "$plugged" >/dev/null || fail "cannot plug K:"
        hotplug unplug K >/dev/null || fail "cannot unplug K:"
    fi
done
echo "$((rounds * 15)) hovers and clicks, $((rounds / 5)) copies and $((rounds / 10 * 2)) drive events in $(($(date +%s) - started)) s"
probe check-rows "a.mp3,*b.mp3,c.mp3,d.mp3" || fail "the rows are not as the clicks left them"
probe check-drive-list 0 E: G: || fail "the drive list is not as it was"
expect_files "$drive" "001_a.mp3=$media/a.mp3" "002_b.mp3=$media/b.mp3" "003_c.mp3=$media/c.mp3" \
    "004_d.mp3=$media/d.mp3"

step "the window looks as it did before the session"
park_pointer
shot session-after
look session-after same "$E2E_SHOTS/session-before.png" toolbar arrow up rest arrow down rest \
    arrow remove rest arrow clear rest bar full
close_app
