#!/usr/bin/env bash
# Quorlith.exe under Wine, driven with real mouse input: right-clicks open the
# menu (unlocked always, locked only with m=1), a drag on the unlocked body
# moves the box, a double-click locks it and writes b=0 at once.
# Usage: win32_mouse.sh path/to/Quorlith.exe
. "$(dirname "$0")/win32_lib.sh" "$1"

# m=1: the unlocked box, then the locked one.
write_settings "x=300" "y=250" "w=90" "h=80" "b=1" "m=1"
start_box
[ "$(geometry "$box_window")" = "300 250 90 80" ] || fail "box at $(geometry "$box_window")"

read -r x y <<<"$(body_point)"
expect_menu_at "$x" "$y" "right-click on the unlocked box opens the menu"

drag_by "$x" "$y" 60 36
[ "$(geometry "$box_window")" = "360 286 90 80" ] ||
  fail "drag by 60,36 left the box at $(geometry "$box_window")"
pass "a drag on the unlocked body moves the box"

# The right edge's frame band is the last few pixels of the box.
drag_by 448 326 40 0
[ "$(geometry "$box_window")" = "360 286 130 80" ] ||
  fail "a drag on the right frame left the box at $(geometry "$box_window")"
pass "a drag on the frame of the unlocked box resizes it"

read -r x y <<<"$(body_point)"
double_click_at "$x" "$y"
wait_until 5 ini_is b 0 || fail "double-click did not write b=0 (b=$(ini_value b))"
pass "a double-click locks the box and writes b=0"

drag_by "$x" "$y" 50 50
[ "$(geometry "$box_window")" = "360 286 130 80" ] ||
  fail "the locked box moved to $(geometry "$box_window")"
pass "a drag on the locked box leaves it in place"

expect_menu_at "$x" "$y" "right-click on the locked box with m=1 opens the menu"
exit_through_menu
ini_is x 360 && ini_is y 286 && ini_is w 130 && ini_is h 80 || fail "Exit did not save the rectangle"
pass "Exit saves the moved and resized rectangle"

# m=0: the unlocked box still opens its menu; the locked one does not.
write_settings "b=1" "m=0"
start_box
read -r x y <<<"$(body_point)"
expect_menu_at "$x" "$y" "right-click on the unlocked box with m=0 opens the menu"

double_click_at "$x" "$y"
wait_until 5 ini_is b 0 || fail "double-click did not write b=0"
right_click_at "$x" "$y"
sleep 1.5
menu_closed || fail "right-click on the locked box with m=0 opened the menu"
pass "right-click on the locked box with m=0 does nothing"

double_click_at "$x" "$y"
wait_until 5 ini_is b 1 || fail "second double-click did not write b=1"
pass "a second double-click unlocks the box and writes b=1"
exit_through_menu
