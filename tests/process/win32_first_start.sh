#!/usr/bin/env bash
# The first start of Quorlith.exe under Wine: no settings file beside it. The
# program writes the first-run file, shows the default box, and ends with
# exit code 0 when Exit is chosen from its menu.
# Usage: win32_first_start.sh path/to/Quorlith.exe
. "$(dirname "$0")/box_lib.sh" "$1"

[ ! -e "$work/Quorlith.ini" ] || fail "a settings file is there before the start"
start_box

# The profile functions end every line with CR LF and put no blank line
# between the sections. The destinations are the desktop folder of the Wine
# user, named after the Linux user.
desktop="C:\\users\\$(id -un)\\Desktop"
expected=$(printf '%s\r\n' "${first_run[@]}" "CopyDestination=$desktop" "MoveDestination=$desktop" |
  od -An -c)
[ "$(od -An -c "$work/Quorlith.ini")" = "$expected" ] || fail "first-run settings file differs"
pass "the first-run settings file, byte for byte"

[ "$(xdotool getwindowname "$box_window")" = "Quorlithdropbox" ] || fail "title"
expect_box "244 200 75 75" "the box titled Quorlithdropbox at 244,200, 75 x 75"

before=$(od -An -c "$work/Quorlith.ini")
read -r x y <<<"$(body_point)"
open_menu_at "$x" "$y" "right-click opens the menu"
choose_exit
[ "$(od -An -c "$work/Quorlith.ini")" = "$before" ] || fail "Exit changed the unmoved rectangle"
pass "Exit writes back the same rectangle"
