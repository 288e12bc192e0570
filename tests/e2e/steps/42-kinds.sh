#!/usr/bin/env bash
# Songs of every kind that stores and rippers write: from another player's playlist opened with
# Ctrl+O, and from a dropped folder; a program dropped beside them stays out of the list.
source "$(dirname "$0")/../lib.sh"

media_folder ovelo-e2e-kinds
mkdir -p "$media_unix/store"
songs=("01 Intro.m4a" "02 Song.m4a" "03 Live.wav" "04 Talk.opus" "05 Outro.mp3")
for name in "${songs[@]}" "store/Track 1.m4a" "store/Track 2.m4a" setup.exe; do
    echo "$name" >"$media_unix/$name"
done
{
    printf '<?wpl version="1.0"?>\r\n<smil><head><title>Album</title></head><body><seq>\r\n'
    for name in "${songs[@]}"; do printf '<media src="%s"/>\r\n' "$name"; done
    printf '</seq></body></smil>\r\n'
} >"$media_unix/album.wpl"
all_songs="01 Intro.m4a,02 Song.m4a,03 Live.wav,04 Talk.opus,05 Outro.mp3"

step "playlist: a WPL playlist's .m4a, .wav and .opus songs, opened with Ctrl+O"
start_app
press ctrl+o
type_in_dialog "Open" "$media\\album.wpl"
probe check-rows "$all_songs" || fail "the WPL playlist's rows differ"

step "playlist: a dropped folder of .m4a files, and a program dropped beside it"
drop_on_list "$media_unix/store" "$media_unix/setup.exe"
probe close-message "Added 2 entries, skipped 1 (1 not a media file)." ||
    fail "no clear drop result"
probe check-rows "$all_songs,Track 1.m4a,Track 2.m4a" || fail "the dropped rows differ"
close_app
