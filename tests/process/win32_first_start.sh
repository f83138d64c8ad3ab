#!/usr/bin/env bash
# The first start of Quorlith.exe under Wine: no settings file beside it. The
# program writes the first-run file, shows the default box, and ends with
# exit code 0 when Exit is chosen from its menu.
# Usage: win32_first_start.sh path/to/Quorlith.exe
. "$(dirname "$0")/win32_lib.sh" "$1"

[ ! -e "$work/Quorlith.ini" ] || fail "a settings file is there before the start"
start_box

# The profile functions end every line with CR LF and put no blank line
# between the sections. The destinations are the desktop folder of the Wine
# user, named after the Linux user.
desktop="C:\\users\\$(id -un)\\Desktop"
expected=$(printf '%s\r\n' "[Coordinates]" x=244 y=200 w=75 h=75 t=75 b=1 m=1 "[Options]" \
  CommandMode=1 pathaction=1 listseparator=1 encase=0 deletetobin=1 confirmdelete=1 \
  confirmcopy=1 confirmmove=1 overwritefile=0 "CopyDestination=$desktop" \
  "MoveDestination=$desktop" | od -An -c)
[ "$(od -An -c "$work/Quorlith.ini")" = "$expected" ] || fail "first-run settings file differs"
pass "the first-run settings file, byte for byte"

[ "$(xdotool getwindowname "$box_window")" = "Quorlithdropbox" ] || fail "title"
[ "$(geometry "$box_window")" = "244 200 75 75" ] || fail "box at $(geometry "$box_window")"
pass "the box titled Quorlithdropbox at 244,200, 75 x 75"

before=$(od -An -c "$work/Quorlith.ini")
exit_through_menu
[ "$(od -An -c "$work/Quorlith.ini")" = "$before" ] || fail "Exit changed the unmoved rectangle"
pass "Exit writes back the same rectangle"
