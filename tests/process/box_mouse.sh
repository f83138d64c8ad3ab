#!/usr/bin/env bash
# Quorlith.exe under Wine, driven with real mouse input: right-clicks open the
# menu (unlocked always, locked only with m=1), drags on the unlocked box move
# and resize it, a double-click locks it and writes b=0 at once.
# Usage: win32_mouse.sh path/to/Quorlith.exe
. "$(dirname "$0")/win32_lib.sh" "$1"

write_settings "x=300" "y=250" "w=90" "h=80" "b=1" "m=1"
start_box
expect_box "300 250 90 80" "the box where the settings file puts it"

read -r x y <<<"$(body_point)"
open_menu_at "$x" "$y" "right-click on the unlocked box opens the menu"
xdotool key Escape
wait_until 5 menu_closed || fail "Escape left the menu open"

drag_by "$x" "$y" 60 36
expect_box "360 286 90 80" "a drag on the unlocked body moves the box"
# The right edge's frame band is the last few pixels of the box.
drag_by 448 326 40 0
expect_box "360 286 130 80" "a drag on the frame of the unlocked box resizes it"

read -r x y <<<"$(body_point)"
xdotool mousemove "$x" "$y" sleep 0.3 click --repeat 2 --delay 80 1
wait_until 5 ini_is b 0 || fail "double-click did not write b=0 (b=$(ini_value b))"
pass "a double-click locks the box and writes b=0"
drag_by "$x" "$y" 50 50
expect_box "360 286 130 80" "a drag on the locked box leaves it in place"

open_menu_at "$x" "$y" "right-click on the locked box with m=1 opens the menu"
choose_exit
ini_is x 360 && ini_is y 286 && ini_is w 130 && ini_is h 80 || fail "Exit did not save the rectangle"
pass "Exit saves the moved and resized rectangle"

# Locked from the start with m=0; the program is ended by the cleanup.
write_settings "b=0" "m=0"
start_box
read -r x y <<<"$(body_point)"
right_click_at "$x" "$y"
sleep 1.5
menu_closed || fail "right-click on the locked box with m=0 opened the menu"
pass "right-click on the locked box with m=0 does nothing"
