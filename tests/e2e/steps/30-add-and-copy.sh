#!/usr/bin/env bash
# Files added through the real open-file dialog (typed names, several at once, one file
# twice), put in order with the arrow buttons, and copied to E: with "Add Prefix" ticked and
# unticked, and with a source gone: names, bytes, order of creation and the final text. Then
# a long copy, with clicks during it that must come to nothing, stopped with Esc, and once
# more from F5 with Ctrl+O typed during it, which must come to nothing too.
source "$(dirname "$0")/../lib.sh"

media_folder ovelo-e2e-add
head -c $((1024 * 1024 + 3)) /dev/urandom >"$media_unix/a.mp3"
head -c 100000 /dev/urandom >"$media_unix/b.jpg"
head -c 5000 /dev/urandom >"$media_unix/c.avi"
head -c 777 /dev/urandom >"$media_unix/my song.mp3"
: >"$media_unix/empty.ogg"
src() { echo "$media_unix/$1"; }

# Opens Add Files from the toolbar and types each line of the arguments into the dialog.
add_files() {
    local line
    click add-files
    for line in "$@"; do type_in_dialog Open "$line"; done
}

start_app
step "Add Files: a folder, then several names at once; a typed path; the same file again"
add_files "$media" '"b.jpg" "a.mp3" "my song.mp3" "empty.ogg"'
probe check-rows "b.jpg,a.mp3,my song.mp3,empty.ogg" || fail "the chosen files were not appended"
add_files "$media\\c.avi"
add_files "$media\\a.mp3"
probe check-rows "b.jpg,a.mp3,my song.mp3,empty.ogg,c.avi,a.mp3" ||
    fail "the typed paths were not appended"

step "the arrow buttons, clicked, on the selected row"
while read -r row button rows; do
    click_row "$row"
    click "$button"
    probe check-rows "$rows" || fail "the $button button on row $row went wrong"
done <<'TABLE'
0 down a.mp3,*b.jpg,my song.mp3,empty.ogg,c.avi,a.mp3
4 up a.mp3,b.jpg,my song.mp3,*c.avi,empty.ogg,a.mp3
4 remove a.mp3,b.jpg,my song.mp3,c.avi,a.mp3
TABLE
park_pointer
shot rows

step "Copy Files with \"Add Prefix\" ticked: numbered copies, created in the list's order"
copy_files Complete "$drive/001_a.mp3"
expect_files "$drive" "001_a.mp3=$(src a.mp3)" "002_b.jpg=$(src b.jpg)" \
    "003_my song.mp3=$(src 'my song.mp3')" "004_c.avi=$(src c.avi)" "005_a.mp3=$(src a.mp3)"
order=$(created_order "$drive" | paste -sd,)
if [ -z "$order" ]; then
    echo "the drive's file system keeps no creation times: the order is not checked"
elif [ "$order" != "001_a.mp3,002_b.jpg,003_my song.mp3,004_c.avi,005_a.mp3" ]; then
    fail "the copies were created in the order $order"
else
    echo "ok: the copies were created in the list's order"
fi
park_pointer
shot complete
look complete bar full arrow up rest toolbar

step "Copy Files with \"Add Prefix\" unticked: the names kept, a file of the same name replaced,
and the second a.mp3 failed: it would replace the first one's copy"
clear_drive "$drive"
echo old >"$drive/b.jpg"
click prefix
copy_files "Complete, 1 of 5 files failed" "$drive/a.mp3"
expect_files "$drive" "a.mp3=$(src a.mp3)" "b.jpg=$(src b.jpg)" \
    "my song.mp3=$(src 'my song.mp3')" "c.avi=$(src c.avi)"

step "a source gone: counted as failed, and the file of its name on E: kept"
rm "$media_unix/c.avi"
echo "kept c" >"$media_unix/kept-c"
clear_drive "$drive"
cp "$media_unix/kept-c" "$drive/c.avi"
copy_files "Complete, 2 of 5 files failed" "$drive/a.mp3"
expect_files "$drive" "a.mp3=$(src a.mp3)" "b.jpg=$(src b.jpg)" \
    "my song.mp3=$(src 'my song.mp3')" "c.avi=$(src kept-c)"
park_pointer
shot failed
look failed bar full

step "the window still answers: the list cleared with its button"
click clear
probe check-rows "" || fail "the list was not cleared"

step "a long copy: the close box and Copy Files clicked during it are not acted on; Esc stops it"
count=3000
mkdir -p "$media_unix/long"
for i in $(seq "$count"); do printf 't%04u.mp3\n' "$i"; done >"$log/names"
(cd "$media_unix/long" && xargs -a "$log/names" -d '\n' truncate -s 4096)
drop_on_list "$media_unix/long"
click prefix
clear_drive "$drive"
click copy-files
for _ in $(seq 100); do
    [ "$(drive_files "$drive" | wc -l)" -ge 20 ] && break
    sleep 0.05
done
click closebox
click copy-files
press Escape
text=$(probe progress-text 120000 | tr -d '\r') || fail "the window did not answer after the copy"
[[ $text =~ ^Stopped,\ ([0-9]+)\ of\ $count\ files\ copied$ ]] || fail "the bar says \"$text\""
copied=${BASH_REMATCH[1]}
# Four digits for a list of thousands: sorted by name, the copies keep the list's order.
[ "$(drive_files "$drive")" = "$(head -n "$copied" "$log/names" | awk '{ printf "%04u_%s\n", NR, $0 }')" ] ||
    fail "E: does not hold the first $copied rows' copies, named 0001_ on, after \"$text\""
echo "ok: Esc stopped the copy after $copied of $count files"
sleep 2
[ "$(probe progress-text 5000 | tr -d '\r')" = "$text" ] && [ "$(drive_files "$drive" | wc -l)" = "$copied" ] ||
    fail "a click made during the copy was acted on after it"
probe check-rows "$(paste -sd, "$log/names")" | cut -c1-120 || fail "the rows are not as they were"
shot stopped
close_order_line >/dev/null

step "the long copy again from F5, with Ctrl+O typed during it as a keyboard types it: no dialog"
# A FUSE volume's FAT driver takes minutes for thousands of names: a few hundred there.
if [ -f "$volumes/e.state" ]; then
    click clear
    mkdir -p "$media_unix/some"
    head -n 300 "$log/names" | (cd "$media_unix/some" && xargs -d '\n' truncate -s 4096)
    drop_on_list "$media_unix/some"
fi
clear_drive "$drive"
press F5
for _ in $(seq 100); do [ "$(drive_files "$drive" | wc -l)" -ge 20 ] && break; sleep 0.05; done
xdotool key ctrl+o
probe check-progress Complete 120000 || fail "the copy from F5 did not end with \"Complete\""
close_order_line >/dev/null
sleep 2
shown=$(xdotool search --all --onlyvisible --pid "$app_pid" --name . getwindowname %@ || true)
[ "$shown" = "Ovelo Playlist Tool" ] || fail "after the copy the program shows: $(echo $shown)"
echo "ok: Ctrl+O typed during the copy opened nothing"
close_app
clear_drive "$drive"
