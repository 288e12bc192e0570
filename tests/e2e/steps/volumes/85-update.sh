#!/usr/bin/env bash
# Copying again after the list changed, on a real exFAT and FAT32 volume as E:: 12 songs
# copied, then row 3 removed, row 12 moved to the top and two songs added. No copies all 13
# beside the earlier ones, as before; Yes updates: exactly the 13 copies, byte for byte, under
# their names; and after each copy, Yes to putting the disk in order leaves it (read with
# fatsort) in list order. Then a long list's update stopped with Esc during its renames, and
# the program killed while it puts the copies in order: nothing lost, and Copy Files again
# finishes both.
source "$(dirname "$0")/../../lib.sh"

media_folder ovelo-e2e-update
songs=("a.mp3" "Second song.mp3" "The third one with a long title.mp3" d.mp3 e.mp3 f.mp3 g.mp3
       h.mp3 i.mp3 j.mp3 k.mp3 "Twelve twelve.mp3" m.mp3 n.mp3)
for i in "${!songs[@]}"; do head -c $((1000 + i * 37)) /dev/urandom >"$media_unix/${songs[$i]}"; done

# After a copy that ended with TEXT: where E:'s copies do not stand on the disk in list order
# the question shows, and Yes puts them in it; then the disk (read with fatsort) lists the
# copies NAME... in that order, with nothing said. $asked says whether the question showed.
expect_in_order() { # TEXT NAME...
    local text=$1 said on_disk
    shift
    probe check-progress "$text" 120000 || fail "the copy did not end with \"$text\""
    asked=$(close_order_line yes 3000)
    probe progress-text 120000 >/dev/null || fail "the window did not answer after the moves"
    ! said=$(probe close-message "*" ok 1000 | tr -d '\r') || fail "after the moves: $said"
    on_disk=$(volume_order | grep -Fx -f <(printf '%s\n' "$@") || true)
    [ "$on_disk" = "$(printf '%s\n' "$@")" ] ||
        fail "E: stands out of list order${asked:+ after Yes}: $(echo $on_disk)"
    echo "ok: the disk order is the list's${asked:+, once the program put it in order}"
}

for kind in exfat fat32; do
    step "$kind: 12 songs copied, then the list changed and copied again with No, then Yes"
    mount_volume "$kind" 256M
    start_app
    paths=()
    for song in "${songs[@]:0:12}"; do paths+=("$media_unix/$song"); done
    drop_on_list "${paths[@]}"
    probe check-rows "$(IFS=,; echo "${songs[*]:0:12}")" >/dev/null || fail "the drop did not add 12 rows"
    click copy-files
    old=()
    for i in $(seq 0 11); do old+=("$(printf %03d $((i + 1)))_${songs[$i]}"); done
    expect_in_order Complete "${old[@]}"
    [ -z "$asked" ] || fail "a fresh volume's copies were taken for out of order"

    click_row 2
    click remove
    click_row 10
    for _ in $(seq 10); do press alt+Up; done
    drop_on_list "$media_unix/m.mp3" "$media_unix/n.mp3"
    list=(11 0 1 3 4 5 6 7 8 9 10 12 13)
    rows="*${songs[11]}"
    for r in "${list[@]:1}"; do rows+=",${songs[$r]}"; done
    probe check-rows "$rows" >/dev/null || fail "the list did not change as a person changed it"
    new=() pairs=()
    for r in "${!list[@]}"; do
        new+=("$(printf %03d $((r + 1)))_${songs[${list[$r]}]}")
        pairs+=("${new[$r]}=$media_unix/${songs[${list[$r]}]}")
    done
    click copy-files
    probe close-message "*" no || fail "no question before copying onto the earlier copy"
    expect_in_order Complete "${new[@]}"
    before=()
    for i in 0 1 2 11; do before+=("${old[$i]}=$media_unix/${songs[$i]}"); done
    expect_files "$drive" "${pairs[@]}" "${before[@]}"
    echo "ok: No copied all 13 beside the earlier copies"

    # Back to the 12 songs' copy: those that No added go.
    for i in 0 1 2 11 12; do rm "$drive/${new[$i]}"; done
    click copy-files
    question=$(probe close-message "*" yes | tr -d '\r') || fail "no question before the update"
    [[ $question =~ "E: already holds 11 of these 13 files from an earlier copy. Update it: copy 2 new files, rename "[0-9]+" and remove 1 copy made earlier that is no longer listed?" ]] &&
        [[ $question == *"No longer listed: 003_The third one with a long title.mp3."* ]] ||
        fail "the question was $question"
    expect_in_order Complete "${new[@]}"
    expect_files "$drive" "${pairs[@]}"
    echo "ok: Yes left exactly the 13 copies under their names"
    shot "update-$kind"
    close_app
    remove_volume
done

step "exfat: the update of 2,000 rows stopped with Esc during its renames, then run again"
mount_volume exfat 256M
mkdir "$media_unix/long"
(cd "$media_unix/long" && for i in $(seq -w 1 2000); do echo "$i" >"t$i.mp3"; done)
start_app
drop_on_list "$media_unix/long"
copy_files Complete "$drive/0001_t0001.mp3"
# Without the first row every copy moves up: its removal and 1,999 renames, 2,000 steps.
click_row 0
click remove
click copy-files
probe close-message "*" yes >/dev/null || fail "no question before the update"
sleep 0.3
xdotool key --clearmodifiers Escape
text=$(probe progress-text 60000 | tr -d '\r')
[[ $text =~ ^Stopped,\ ([0-9]+)\ of\ 2000\ files\ copied$ ]] && [ "${BASH_REMATCH[1]}" -gt 0 ] &&
    [ "${BASH_REMATCH[1]}" -lt 2000 ] || fail "Esc did not stop the renames: \"$text\""
drive_files "$drive" >"$log/stopped"
for i in $(seq -w 2 2000); do echo "t$i.mp3"; done >"$log/wanted"
# Every copy is there once, under its old name, its new one or a name of zeros.
sed 's/^[0-9]*_//' "$log/stopped" | sort | diff - "$log/wanted" >/dev/null ||
    fail "after \"$text\" the copies on E: are not each there once"
click copy-files
probe close-message "*" yes >/dev/null || fail "no question before the second update"
numbered() { awk '{ printf "%04d_%s\n", NR, $0 }' "$1"; }
expect_in_order Complete $(numbered "$log/wanted")
[ "$(drive_files "$drive")" = "$(numbered "$log/wanted")" ] ||
    fail "Copy Files after the stop did not finish the update"
echo "ok: stopped after \"$text\"; nothing lost; the next update finished it"

step "exfat: the list reversed and updated, the program killed while it puts the copies in order"
# Ctrl+A, then the menu's Sort, Reverse: the update renames every copy, and the disk keeps
# them in the old order.
reverse_list() {
    click_row 0
    press ctrl+a
    press Menu
    press t
    press r
    probe check-rows "$(sed 's/^/*/' "$log/reversed" | paste -sd,)" >/dev/null ||
        fail "Sort, Reverse did not reverse the list"
}
tac "$log/wanted" >"$log/reversed"
reverse_list
click copy-files
probe close-message "*" yes >/dev/null || fail "no question before the update of the reversed list"
probe check-progress Complete 120000 || fail "the update of the reversed list did not end"
[ -n "$(close_order_line yes 10000)" ] || fail "no question about the order after the update"
order_folder="$drive/~ovelo.order"
for _ in $(seq 500); do
    [ -n "$(ls -A "$order_folder" 2>/dev/null | head -n 1)" ] && break
    sleep 0.02
done
kill -9 "$app_pid"
wait_app_exit 10 || fail "the program outlived kill -9"
moved=$(ls -A "$order_folder" 2>/dev/null | wc -l)
{ drive_files "$drive" | grep -vxF "~ovelo.order"; ls -A "$order_folder" 2>/dev/null; } |
    LC_ALL=C sort | diff - <(numbered "$log/reversed" | LC_ALL=C sort) >/dev/null ||
    fail "killed while putting in order, E: does not hold each copy once"
echo "ok: killed with $moved copies in the order folder, each copy is there once"
start_app
drop_on_list "$media_unix/long"
click_row 0
click remove
reverse_list
click copy-files
probe close-message "*" yes >/dev/null || fail "no question before the update after the kill"
expect_in_order Complete $(numbered "$log/reversed")
[ "$(drive_files "$drive")" = "$(numbered "$log/reversed")" ] ||
    fail "Copy Files after the kill left E: holding other files than the list's copies"
cmp -s "$drive/0001_t2000.mp3" "$media_unix/long/t2000.mp3" || fail "the first copy is not whole"
echo "ok: the next Copy Files brought the copies back and put them in order"
close_app
remove_volume
