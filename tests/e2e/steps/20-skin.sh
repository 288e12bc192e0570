#!/usr/bin/env bash
# The skin under the pointer: the toolbar's pictograms lit, and each arrow button lit, held
# down and released, which runs its command on the list's rows.
source "$(dirname "$0")/../lib.sh"

media=$(mktemp -d)
scratch+=("$media")
for name in a b c d e; do echo "$name" >"$media/$name.mp3"; done

start_app
step "a toolbar button under the pointer keeps its pictogram and transparent corners"
point_at add-files
# Long enough for the button's tooltip to show and paint beneath it.
shot hot-toolbar 1.5
look hot-toolbar toolbar

step "the arrow buttons lit, pressed and released on rows b and d of a to e"
drop_on_list "$media"/{a,b,c,d,e}.mp3
click_row 1
xdotool keydown ctrl; click_row 3; xdotool keyup ctrl
# Each button's command on the rows that the one before left.
while read -r button rows; do
    # Near the bottom edge, so that the button's tooltip shows below it.
    read -r _ left _ right bottom < <(grep "^$button " "$layout")
    point_at $(((left + right) / 2)) $((bottom - 3))
    shot "hot-$button"
    look "hot-$button" arrow "$button" hot
    xdotool mousedown 1
    shot "pressed-$button"
    # Pressed, the button has the focus.
    look "pressed-$button" arrow "$button" pressed+focus
    xdotool mouseup 1
    probe check-rows "$rows" || fail "the $button button did not run its command"
done <<'TABLE'
up *b.mp3,a.mp3,*d.mp3,c.mp3,e.mp3
down c.mp3,*b.mp3,a.mp3,*d.mp3,e.mp3
remove c.mp3,a.mp3,e.mp3
clear
TABLE

step "the pointer gone, every button is flat again"
park_pointer
shot after-clicks
# Clear keeps the focus that its click gave it; the other commands give it to the list.
look after-clicks arrow up rest arrow down rest arrow remove rest arrow clear rest+focus toolbar
close_app
