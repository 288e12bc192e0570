#!/usr/bin/env bash
# What FAT cards allow, on real volumes as E:: a 64 MB FAT16 card whose root holds 256 entries
# (made so: 512 would be what the program assumes without reading the card) and 200 files with
# long names (the question first; No writes nothing; Yes copies what fits,
# in list order, and counts the rest at once), a 5 GiB file for a FAT32 drive (named, not
# copied, counted, not tried for minutes), and Esc during a 200 MB file (stopped within it,
# nothing of it left).
source "$(dirname "$0")/../../lib.sh"

media_folder ovelo-e2e-fat

step "a 64 MB FAT16 card of 256 root entries and 200 files with long names"
mount_volume fat16 64M E -r 256
mkdir "$media_unix/album"
for i in $(seq -w 1 200); do echo "song $i" >"$media_unix/album/Song number $i from the album.mp3"; done
start_app
drop_on_list "$media_unix/album"
bar=$(probe progress-text 5000 | tr -d '\r')
question="Only 62 of these 200 files fit into the root folder of E:. The root folder of a FAT drive holds a fixed number of names; Format Device with FAT32 lifts the limit. Copy the files that fit?"
click copy-files
probe close-message "$question" no || fail "no question before the copy"
sleep 1
[ -z "$(drive_files "$drive")" ] || fail "No wrote to E:: $(drive_files "$drive" | head -n 3)"
[ "$(probe progress-text 5000 | tr -d '\r')" = "$bar" ] || fail "No changed the bar"
click copy-files
probe close-message "$question" yes || fail "no question before the second copy"
probe check-progress "Complete, 138 of 200 files failed" 120000 ||
    fail "the copy did not count the rest: \"$(probe progress-text 5000 | tr -d '\r')\", $(drive_files "$drive" | wc -l) files on E:"
names=$(for i in $(seq -f %03g 1 62); do echo "${i}_Song number $i from the album.mp3"; done)
[ "$(drive_files "$drive")" = "$names" ] ||
    fail "E: does not hold the first 62 rows' copies"
cmp -s "$drive/062_Song number 062 from the album.mp3" "$media_unix/album/Song number 062 from the album.mp3" ||
    fail "the last copy that fit is not whole"
# The record of the copies fits beside them: its entries were counted in.
for _ in $(seq 50); do [ -e "$drive/$copy_record" ] && break; sleep 0.1; done
[ "$(grep -c . "$drive/$copy_record")" = 63 ] || fail "the full card has no record of its 62 copies"
echo "ok: 62 of 200 copied in list order, 138 counted as failed, all 62 recorded"
shot fat16-full
close_app
remove_volume

step "a file of 5 GiB for a FAT32 drive: named in the question, not copied, counted"
mount_volume fat32 8G
echo a >"$media_unix/a.mp3"
echo c >"$media_unix/c.mp3"
truncate -s 5G "$media_unix/big.mkv"
start_app
drop_on_list "$media_unix/a.mp3" "$media_unix/big.mkv" "$media_unix/c.mp3"
click copy-files
probe close-message "1 of these files is 4 GB or larger, which a FAT32 drive cannot store: big.mkv. It will not be copied; Format Device with exFAT lifts the limit. Copy the files that fit?" yes ||
    fail "the question did not name the file of 5 GiB"
probe check-progress "Complete, 1 of 3 files failed" 20000 || fail "the large file was tried"
expect_files "$drive" "001_a.mp3=$media_unix/a.mp3" "003_c.mp3=$media_unix/c.mp3"

step "Esc during a file of 200 MB: stopped within it, nothing of it left on E:"
click clear
head -c 200M /dev/urandom >"$media_unix/film.mkv"
drop_on_list "$media_unix/film.mkv"
rm -f "$drive"/0*
click copy-files
sleep 1.5
begun=$(date +%s%N)
xdotool key --clearmodifiers Escape
text=$(probe progress-text 60000 | tr -d '\r') || fail "the window did not answer"
took=$((($(date +%s%N) - begun) / 1000000))
echo "the bar says \"$text\" $took ms after Esc"
[ "$text" = "Stopped, 0 of 1 files copied" ] || fail "the copy was not stopped within the file"
[ -z "$(drive_files "$drive")" ] || fail "E: holds what the stopped copy left: $(drive_files "$drive")"
close_app
remove_volume
