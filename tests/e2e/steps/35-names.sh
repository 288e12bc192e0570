#!/usr/bin/env bash
# Names in any language: chosen in the real open dialog (typed in UTF-16) and dropped, shown in
# the list, copied to E: with "Add Prefix" under their own names byte for byte, then saved as a
# playlist with a name of the same kind and opened again.
source "$(dirname "$0")/../lib.sh"

media_folder ovelo-e2e-names
names=("日本語の歌.mp3" "Пётр Чайковский.mp3" "Ελένη.mp3" "🎵 night.mp3" "Café.mp3")
for name in "${names[@]}"; do
    head -c 3000 /dev/urandom >"$media_unix/$name"
done
rows=$(IFS=,; echo "${names[*]}")

start_app
step "names typed into the open dialog and dropped arrive as they are"
click add-files
type_in_dialog Open "$media"
probe type-text "\"${names[0]}\" \"${names[1]}\" \"${names[2]}\"" || fail "cannot type the names"
press Return
probe check-rows "${names[0]},${names[1]},${names[2]}" || fail "the chosen names differ"
drop_on_list "$media_unix/${names[3]}" "$media_unix/${names[4]}"
probe check-rows "$rows" || fail "the dropped names differ"

step "copied with \"Add Prefix\": the right names in UTF-8, byte for byte"
# The FAT volumes' driver refuses such names, and loses a file whose rename it refuses.
if touch "$drive/${names[0]}" 2>/dev/null; then
    rm "$drive/${names[0]}"
    copy_files Complete "$drive/001_${names[0]}"
    pairs=()
    for i in "${!names[@]}"; do
        pairs+=("00$((i + 1))_${names[$i]}=$media_unix/${names[$i]}")
    done
    expect_files "$drive" "${pairs[@]}"
else
    echo "E: refuses names beyond ASCII: the copy is left out here"
fi
park_pointer
shot names

step "saved with Ctrl+S under a name of the same kind, opened again with Ctrl+O"
# Types a path into a dialog of the program's in UTF-16, and presses Enter.
type_path_in() {
    xdotool windowfocus --sync "$(x_window "$1")" 2>/dev/null || true
    probe type-text "$2" || fail "cannot type into \"$1\""
    press Return
}
playlist="$media_unix/プレイリスト.m3u8"
xdotool windowfocus --sync "$main_x" 2>/dev/null || true
probe focus-main >/dev/null || fail "cannot give the main window the focus"
press ctrl+s
type_path_in "Save As" "$media\\プレイリスト.m3u8"
for _ in $(seq 50); do [ -s "$playlist" ] && break; sleep 0.1; done
expected=$(printf '#EXTM3U\r\n'; for name in "${names[@]}"; do printf '%s\\%s\r\n' "$media" "$name"; done)
[ "$(cat "$playlist")" = "$expected" ] || fail "the saved playlist holds: $(cat -A "$playlist")"
click clear
probe check-rows "" || fail "the list was not cleared"
press ctrl+o
type_path_in Open "$media\\プレイリスト.m3u8"
probe check-rows "$rows" || fail "the opened playlist's rows differ"
close_app
clear_drive "$drive"
