#!/usr/bin/env bash
# Either program driven with real mouse input, on a bare display or, with
# "managed", under a window manager: right-clicks open the menu (unlocked
# always, locked only with m=1), a slow drag moves the unlocked box with the
# grabbed point under the pointer, a frame drag resizes it, and double-clicks
# on its body or frame lock and unlock it, each written at once; Shift+F10
# opens the menu at the box; the box's tip goes along with it; the settings
# window takes real keys.
# Usage: box_mouse.sh path/to/Quorlith.exe-or-quorlith [managed]
. "$(dirname "$0")/box_lib.sh" "$@"

write_settings "x=300" "y=250" "w=90" "h=80" "b=1" "m=1"
start_box
expect_box "300 250 90 80" "the box where the settings file puts it"

read -r x y <<<"$(body_point)"
open_menu_at "$x" "$y" "right-click on the unlocked box opens the menu"
close_menu
# A click gives the box the focus: Shift+F10 then opens the menu at its middle.
xdotool mousemove "$x" "$y" click 1 sleep 0.5 key shift+F10
wait_until 5 menu_open || fail "Shift+F10 on the focused box opened no menu"
read -r -a corner <<<"$(geometry "$(popups | head -1)")"
[ "${corner[0]} ${corner[1]}" = "$x $y" ] || fail "Shift+F10 opened the menu at ${corner[0]},${corner[1]}"
close_menu
pass "Shift+F10 opens the menu at the box"

# The pointer rests on the box first: its tip shows, beside it.
xdotool mousemove "$x" "$y"
sleep 1.5
press_at "$x" "$y"
move_from "$x" "$y" 50 30
expect_box "350 280 90 80" "halfway through a slow drag the grabbed point is under the pointer"
move_from $((x + 50)) $((y + 30)) 50 30
release
expect_box "400 310 90 80" "a slow drag of (100, 60) on the body moves the box by exactly that"
# The tip went along: where it was lies the moved box's middle, which a
# right-click there reaches.
read -r x y <<<"$(body_point)"
xdotool mousemove "$x" "$y"
sleep 1.5
open_menu_at "$x" "$y" "after a drag the box's tip lies beside it, never over its middle"
close_menu
# The right side's frame band is the last few pixels of the box.
drag_by 488 350 40 0
expect_box "400 310 130 80" "a drag on the frame of the unlocked box resizes it"

read -r x y <<<"$(body_point)"
double_click_at "$x" "$y"
wait_until 5 ini_is b 0 || fail "a double-click on the body did not write b=0 (b=$(ini_value b))"
expect_box "400 310 130 80" "a double-click on the unlocked body locks the box and writes b=0"
drag_by "$x" "$y" 50 50
expect_box "400 310 130 80" "a drag on the locked box leaves it in place"
open_menu_at "$x" "$y" "right-click on the locked box with m=1 opens the menu"
close_menu

double_click_at "$x" "$y"
wait_until 5 ini_is b 1 || fail "a double-click on the locked box did not write b=1"
pass "a double-click on the locked box unlocks it and writes b=1"
double_click_at 528 "$y"
wait_until 5 ini_is b 0 || fail "a double-click on the frame did not write b=0"
expect_box "400 310 130 80" "a double-click on the frame of the unlocked box locks it"

open_menu_at "$x" "$y" "right-click on the locked box opens the menu again"
choose_exit
ini_is x 400 && ini_is y 310 && ini_is w 130 && ini_is h 80 || fail "Exit did not save the rectangle"
pass "Exit saves the moved and resized rectangle"

# The settings window from the menu's access key, then real keys: Alt+Q ticks
# "Quote each path", Enter is OK, which writes that key alone.
write_settings "x=300" "y=250" "w=90" "h=80" "b=1" "m=1"
start_box
read -r x y <<<"$(body_point)"
open_menu_at "$x" "$y" "right-click on the box opens the menu"
xdotool key s
settings_window() { xdotool search --onlyvisible --name '^Quorlith Settings$' | head -1 | grep .; }
wait_until 10 settings_window || fail "S in the menu opened no settings window"
before=$(grep -av '^encase=' "$work/Quorlith.ini")
sleep 0.5
xdotool key alt+q
sleep 0.3
xdotool key Return
wait_until 5 ini_is encase 1 || fail "Alt+Q and Enter in the settings window did not write encase=1"
wait_until 5 bash -c "! xdotool search --onlyvisible --name '^Quorlith Settings$'" ||
  fail "Enter left the settings window open"
[ "$(grep -av '^encase=' "$work/Quorlith.ini")" = "$before" ] || fail "OK changed other lines"
pass "the settings window takes real keys: Alt+Q ticks Quote each path, Enter saves that alone"
open_menu_at "$x" "$y" "the menu opens again once the settings window is closed"
choose_exit

[ "${2:-}" = managed ] && exit 0
# Locked from the start with m=0; the program is ended by the cleanup.
write_settings "b=0" "m=0"
start_box
read -r x y <<<"$(body_point)"
right_click_at "$x" "$y"
sleep 1.5
menu_closed || fail "right-click on the locked box with m=0 opened the menu"
pass "right-click on the locked box with m=0 does nothing"
