#!/usr/bin/env bash
# The playlist by mouse and keys: files, a folder and a playlist dropped from outside, rows
# dragged within the list and outside it, the list's keys, its context menu read from the
# screen, playlists saved and opened again, a folder in Explorer's order, Sort by Tags, Undo
# and Redo, and the saved playlist's lines from the tags.
source "$(dirname "$0")/../lib.sh"

media_unix=$WINEPREFIX/drive_c/ovelo-e2e
media='C:\ovelo-e2e'
drive_e=$WINEPREFIX/dosdevices/e:
scratch+=("$media_unix")
rm -rf "$media_unix"
clear_drive "$drive_e"
mkdir -p "$media_unix/album/sub"
for name in a.mp3 b.mp3 d.mp3 e.mp3 album/sub/01.jpg album/02.mp3 album/notes.txt album/03.avi; do
    echo "$name" >"$media_unix/$name"
done
printf '#EXTM3U\r\n#EXTINF:10,D\r\nd.mp3\r\nalbum/../e.mp3\r\nmissing.mp3\r\n' >"$media_unix/list.m3u8"
# The dragged rows' insertion line must show dark across the list at screen row $2.
expect_insertion_line() {
    local line
    sleep 0.5
    line=$(import -window root -crop 200x1+"$1"+"$2" -format '%[fx:mean]' info:-)
    echo "insertion line brightness $line"
    [[ $line =~ ^[0-9.]+$ ]] && awk -v m="$line" 'BEGIN { exit !(m < 0.2) }' ||
        fail "no dark insertion line at y $2 (mean brightness \"$line\")"
}

step "playlist: files, a folder and a playlist dropped from outside"
start_app
drop_on_list "$media_unix/a.mp3" "$media_unix/b.mp3" "$media_unix/album" "$media_unix/list.m3u8"
probe close-message "Added 7 entries, skipped 1 (1 not found)." ||
    fail "no clear drop result"
probe check-rows "a.mp3,b.mp3,01.jpg,02.mp3,03.avi,d.mp3,e.mp3" || fail "dropped rows differ"

step "playlist: two rows dragged down past three, with the insertion point shown"
click_row 0
xdotool keydown shift; click_row 1; xdotool keyup shift
read -r x y _ < <(row_point 0)
read -r _ _ top _ < <(row_point 5)
xdotool mousemove "$x" "$y" mousedown 1 mousemove "$x" $((y + 8)) mousemove "$x" $((top + 2))
expect_insertion_line "$x" "$top"
xdotool mouseup 1
probe check-rows "01.jpg,02.mp3,03.avi,*a.mp3,*b.mp3,d.mp3,e.mp3" ||
    fail "the dragged rows did not land as a block before row 5"

step "playlist: a drag dropped outside the list changes nothing"
click_row 0
sleep 0.6 # past the double-click time: the next press starts a drag, not a double click
read -r x y _ < <(row_point 0)
read -r _ _ top _ < <(row_point 3)
xdotool mousemove "$x" "$y" mousedown 1 mousemove "$x" $((y + 8)) mousemove "$x" $((top + 2))
expect_insertion_line "$x" "$top"
xdotool mousemove "$x" $((y - 120))
sleep 0.3
xdotool mouseup 1
probe check-rows "*01.jpg,02.mp3,03.avi,a.mp3,b.mp3,d.mp3,e.mp3" ||
    fail "a drop outside the list moved rows"

step "playlist: a copy after dragging numbers the files in the new order"
copy_files Complete "$drive_e/001_01.jpg"
expect_files "$drive_e" 001_01.jpg="$media_unix/album/sub/01.jpg" 002_02.mp3="$media_unix/album/02.mp3" \
    003_03.avi="$media_unix/album/03.avi" 004_a.mp3="$media_unix/a.mp3" \
    005_b.mp3="$media_unix/b.mp3" 006_d.mp3="$media_unix/d.mp3" 007_e.mp3="$media_unix/e.mp3"
clear_drive "$drive_e"

step "playlist: Alt+Down, Delete and Ctrl+A in the list"
xdotool windowfocus --sync "$main_x" 2>/dev/null || true
probe focus-main >/dev/null || fail "cannot give the main window the focus"
click_row 3
press alt+Down
probe check-rows "01.jpg,02.mp3,03.avi,b.mp3,*a.mp3,d.mp3,e.mp3" || fail "Alt+Down did not move the row"
press Delete
probe check-rows "01.jpg,02.mp3,03.avi,b.mp3,d.mp3,e.mp3" || fail "Delete did not remove the row"
press ctrl+a
probe check-rows "*01.jpg,*02.mp3,*03.avi,*b.mp3,*d.mp3,*e.mp3" || fail "Ctrl+A did not select all"

step "playlist: the context menu by right click, menu key and Shift+F10, greyed where idle"
click_row 0
click_row 0 3
probe check-menu "+-|-+++++|++|+++++" || fail "the menu on the first row is wrong"
press Escape
click_row 5
press Menu
probe check-menu "+-|+-++++|++|+++++" || fail "the menu key's menu on the last row is wrong"
press Escape
xdotool keydown ctrl; click_row 5; xdotool keyup ctrl
press shift+F10
probe check-menu "+-|---+++|++|+++++" || fail "Shift+F10's menu without a selection is wrong"
press Escape
click_row 1 3
probe check-menu "+-|++++++|++|+++++" || fail "the menu on a middle row is wrong"
press d
probe check-rows "01.jpg,03.avi,*02.mp3,b.mp3,d.mp3,e.mp3" || fail "Move Down from the menu did not act"

step "playlist: Ctrl+S saves the paths exactly, Ctrl+O appends them again"
press ctrl+s
type_in_dialog "Save As" "$media\\saved.m3u8"
for _ in $(seq 50); do [ -s "$media_unix/saved.m3u8" ] && break; sleep 0.1; done
expected=$(printf '#EXTM3U\r\n'; for name in album/sub/01.jpg album/03.avi album/02.mp3 b.mp3 d.mp3 e.mp3; do
    printf '%s\\%s\r\n' "$media" "${name//\//\\}"; done)
[ "$(cat "$media_unix/saved.m3u8")" = "$expected" ] ||
    fail "saved.m3u8 holds: $(cat -A "$media_unix/saved.m3u8")"
press ctrl+o
type_in_dialog "Open" "$media\\saved.m3u8"
opened="01.jpg,03.avi,*02.mp3,b.mp3,d.mp3,e.mp3,01.jpg,03.avi,02.mp3,b.mp3,d.mp3,e.mp3"
probe check-rows "$opened" || fail "the opened playlist's rows differ"

step "playlist: Clear, then Ctrl+Z brings the rows back with their selection"
click clear
probe check-rows "" || fail "Clear left rows"
press ctrl+z
probe check-rows "$opened" || fail "Ctrl+Z did not bring the cleared rows back"

step "playlist: a dropped folder comes in Explorer's order, its subfolders first"
mkdir -p "$media_unix/tracks/Bonus"
for i in $(seq 12); do echo "$i" >"$media_unix/tracks/Track $i.mp3"; done
echo 2 >"$media_unix/tracks/Bonus/Bonus 2.mp3"
echo 10 >"$media_unix/tracks/Bonus/Bonus 10.mp3"
click clear
drop_on_list "$media_unix/tracks"
probe check-rows "Bonus 2.mp3,Bonus 10.mp3,$(for i in $(seq 12); do printf 'Track %s.mp3,' "$i"; done | sed 's/,$//')" ||
    fail "the folder's files are not in Explorer's order"

step "playlist: Sort by Tags from the menu puts an album in order; Ctrl+Z and Ctrl+Y"
"$root/tests/support/make-tagged-media.py" "$media_unix/tagged" || fail "cannot make the tagged files"
tagged=(a.mp3 b.flac broken.mp3 c.ogg d.opus e.m4a f.wma g.wav untagged.mp3)
by_name=$(IFS=,; echo "${tagged[*]}")
by_tags="e.m4a,b.flac,g.wav,d.opus,c.ogg,f.wma,a.mp3,broken.mp3,untagged.mp3"
click clear
drop_on_list "${tagged[@]/#/$media_unix/tagged/}"
probe check-rows "$by_name" || fail "the tagged files were not added in the drop's order"
# The row clicked is selected, alone, and goes with its place in the order.
click_row 0 3
press t
shot sort-menu
press t
probe check-rows "${by_tags/a.mp3/*a.mp3}" || fail "Sort by Tags did not put the album in disc and track order"
press ctrl+z
probe check-rows "*$by_name" || fail "Ctrl+Z did not undo the sort"
press ctrl+y
probe check-rows "${by_tags/a.mp3/*a.mp3}" || fail "Ctrl+Y did not redo the sort"

step "playlist: the saved playlist shows each tagged file's length, artist and title"
press ctrl+s
type_in_dialog "Save As" "$media\\tagged.m3u8"
for _ in $(seq 50); do [ -s "$media_unix/tagged.m3u8" ] && break; sleep 0.1; done
expected=$(printf '#EXTM3U\r\n'
    while IFS='|' read -r name info; do
        [ -z "$info" ] || printf '#EXTINF:%s\r\n' "$info"
        printf '%s\\tagged\\%s\r\n' "$media" "$name"
    done <<'LINES'
e.m4a|2,Ann Teller - The Cröw ☂
b.flac|1,Ann Teller - The Fox
g.wav|1,Ann Teller - The Wren
d.opus|1,Ann Teller - The Hare
c.ogg|1,Ann Teller - The Bear
f.wma|3,Ann Teller - The Mole
a.mp3|1,Bo Reader - The Owl
broken.mp3|
untagged.mp3|
LINES
)
[ "$(cat "$media_unix/tagged.m3u8")" = "$expected" ] ||
    fail "tagged.m3u8 holds: $(cat -A "$media_unix/tagged.m3u8")"
close_app
