#!/usr/bin/env bash
# Either program on a bare display: a box stored off every screen shows at
# the first-run place and the file keeps the stored one; a second start from
# the same folder raises the box above a window that covered it and ends with
# exit code 0, writing nothing; a copy in another folder shows a box of its
# own beside it; and a box that was killed leaves nothing behind that would
# stop the next start.
# Usage: box_one_per_file.sh path/to/Quorlith.exe-or-quorlith
. "$(dirname "$0")/box_lib.sh" "$@"

other_pid=""
cover_pid=""
end_others() {
  [ -n "$cover_pid" ] && kill "$cover_pid" 2>/dev/null
  for w in $(xdotool search --onlyvisible --name '^Quorlithdropbox$' 2>/dev/null); do
    [ "$w" = "$box_window" ] || kill "$(xdotool getwindowpid "$w")" 2>/dev/null
  done
  [ -n "$other_pid" ] && kill "$other_pid" 2>/dev/null
  cleanup
}
trap end_others EXIT

boxes() { xdotool search --onlyvisible --name '^Quorlithdropbox$' 2>/dev/null | wc -l; }
# True when window $1 is stacked above window $2 (xwininfo lists the screen's
# windows from the top down).
above() {
  xwininfo -root -children | awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" '
    $1 == a && !seen {upper = 1} $1 == b && !seen {seen = 1} END {exit !(upper && seen)}'
}

write_settings "x=2000" "y=50"
start_box
expect_box "244 200 75 75" "a box stored at x=2000, off the 1280-pixel screen, shows at 244,200"
ini_is x 2000 || fail "the place was written"
before=$(od -An -c "$work/Quorlith.ini")

xmessage -geometry 200x150+200+150 "a window over the box" &
cover_pid=$!
wait_until 10 xdotool search --onlyvisible --name '^xmessage$' || fail "no covering window"
cover=$(xdotool search --onlyvisible --name '^xmessage$' | head -1)
wait_until 5 above "$cover" "$box_window" || fail "the other window is not over the box"

# The second start must end by itself; one that runs a box of its own would
# never end.
run_in "$work" &
second_pid=$!
wait_until 60 bash -c "! kill -0 $second_pid" ||
  { kill "$second_pid"; fail "the second start did not end ($(boxes) boxes)"; }
wait "$second_pid"
rc=$?
[ "$rc" = 0 ] || fail "the second start ended with $rc"
[ "$(boxes)" = 1 ] || fail "$(boxes) boxes after the second start"
kill -0 "$box_unix_pid" || fail "the first box ended"
pass "a second start over the same settings file ends with exit code 0 and shows no box"
wait_until 5 above "$box_window" "$cover" || fail "the box was not raised"
pass "the running box comes above the window that covered it"
[ "$(od -An -c "$work/Quorlith.ini")" = "$before" ] || fail "the settings file changed"
pass "neither start wrote the settings file"

mkdir "$work/other"
run_in "$work/other" &
other_pid=$!
wait_until 120 bash -c '[ "$(xdotool search --onlyvisible --name "^Quorlithdropbox$" | wc -l)" = 2 ]' ||
  fail "a copy in another folder shows no box of its own"
pass "a copy with a settings file of its own runs beside it"

kill "$(xdotool search --onlyvisible --name '^Quorlithdropbox$' | grep -vx "$box_window" | head -1 |
  xargs xdotool getwindowpid)"
kill -KILL "$box_unix_pid"
wait_until 30 bash -c "! kill -0 $box_pid" || fail "the killed box's runner did not end"
wait "$box_pid" 2>/dev/null
box_pid=""
wait_until 30 bash -c '[ "$(xdotool search --onlyvisible --name "^Quorlithdropbox$" | wc -l)" = 0 ]' ||
  fail "the boxes did not end"
start_box
pass "after the box was killed, the next start shows its box"
