#!/usr/bin/env bash
# Either program on a bare display: a box stored off every screen shows at
# the first-run place and the file keeps the stored one; a second start from
# the same folder raises the box above a window that covered it and ends with
# exit code 0, writing nothing; a second start with paths hands them to the
# running box, which captures them, and one with a switch makes it paste or
# close; a copy in another folder shows a box of
# its own beside it; a box that was killed leaves nothing behind that would
# stop the next start, which handles its own paths and sweeps what killed
# copies left in its destination folder; and on Linux SIGTERM during a copy
# ends the program with 0 and leaves the destination as it was.
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

# A second start with paths: relative ones count from its folder, names with
# a space, other scripts and (after "--" on Linux) a leading dash.
( cd "$work" && touch "a b.txt" "ü.txt" -- "-lead.txt" )
dash=(--)
[ "$program_kind" = windows ] && dash=()
run_in "$work" "a b.txt" "ü.txt" "${dash[@]}" "-lead.txt" &
second_pid=$!
wait_until 60 bash -c "! kill -0 $second_pid" || fail "the second start with paths did not end"
wait "$second_pid" || fail "the second start with paths ended with $?"
here=$(native_path "$work")$separator
expected="${here}a b.txt$capture_break${here}ü.txt$capture_break$here-lead.txt"
wait_until 10 clipboard_is "$expected" ||
  fail "the running box did not capture the paths: $(xclip -o -selection clipboard 2>&1 | od -c | head)"
[ "$(boxes)" = 1 ] || fail "$(boxes) boxes after the second start with paths"
pass "a second start with paths hands them to the running box, which captures them, and ends with 0"

# A later start's switches, in any case on Windows: the files on the
# clipboard (as a file manager copies them) go to the running box as a
# drop; a close ends it as Exit does, place saved, and returns once it has
# ended; with no box running a close starts none and writes nothing.
paste_switch=--paste close_switch=--close
[ "$program_kind" = windows ] && paste_switch=/PASTE close_switch=/Close
printf 'file://%s\r\n' "$work/a%20b.txt" | xclip -selection clipboard -t text/uri-list
run_in "$work" "$paste_switch" &
second_pid=$!
wait_until 60 bash -c "! kill -0 $second_pid" || fail "the paste start did not end"
wait "$second_pid" || fail "the paste start ended with $?"
wait_until 10 clipboard_is "${here}a b.txt" ||
  fail "the running box did not take the clipboard's file: $(xclip -o -selection clipboard 2>&1 | head -3)"
pass "$paste_switch hands the clipboard's files to the running box"
run_in "$work" "$close_switch" &
second_pid=$!
wait_until 90 bash -c "! kill -0 $second_pid" || fail "the close start did not end"
wait "$second_pid" || fail "the close start ended with $?"
kill -0 "$box_pid" 2>/dev/null && fail "the box still runs once the close start has ended"
wait "$box_pid"
rc=$?
box_pid=""
[ "$rc" = 0 ] || fail "the closed box ended with $rc"
# Stored off the screen at x=2000, the box showed at 244,200, where Exit saves it.
ini_is x 244 && ini_is y 200 || fail "the close did not save the place"
pass "$close_switch ends the running box as Exit does, and returns once it has ended"
before=$(od -An -c "$work/Quorlith.ini")
(run_in "$work" "$close_switch") || fail "a close with no box running ended with $?"
[ "$(boxes)" = 0 ] || fail "a close with no box running showed a box"
[ "$(od -An -c "$work/Quorlith.ini")" = "$before" ] || fail "a close with no box running wrote"
pass "$close_switch with no box running starts none, writes nothing and ends with 0"
start_box

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

# Temporaries that copies into the destination left when their program was
# killed: this host's dead process's go, any other name stays.
mkdir -p "$work/dest"
write_settings "CopyDestination=$(native_path "$work/dest")"
host=$(hostname | tr -c 'A-Za-z0-9._\n-' '_' | cut -c1-64)
sleep 0 & dead=$!
wait "$dead"
kept=(".quorlith-$host-$dead-1.tmp.keep" ".quorlith-another.host-$dead-1.tmp" ".quorlith-notes.tmp")
[ "$program_kind" = linux ] && kept+=(".quorlith-$host-$$-1.tmp")  # this script runs
for name in ".quorlith-$host-$dead-1.tmp" "${kept[@]}"; do echo partial >"$work/dest/$name"; done
start_box "a b.txt"
pass "after the box was killed, the next start shows its box"
wait_until 10 clipboard_is "${here}a b.txt" || fail "the first start's path was not captured"
pass "a start with paths handles them as its first drop"
wait_until 10 bash -c "[ ! -e '$work/dest/.quorlith-$host-$dead-1.tmp' ]" ||
  fail "the stale temporary of a dead process was not removed"
for name in "${kept[@]}"; do [ -e "$work/dest/$name" ] || fail "$name was removed"; done
pass "at start, a dead process's temporary goes from the destination, other names stay"

[ "$program_kind" = linux ] || exit 0
# SIGTERM during a copy of a big file: the program ends with 0 within two
# seconds, and the destination folder is as it was.
kill "$box_unix_pid"
wait "$box_pid" 2>/dev/null
box_pid=""
rm -rf "$work/dest"
mkdir -p "$work/dest"
write_settings "CommandMode=2" "confirmcopy=0" "CopyDestination=$work/dest"
fallocate -l 1G "$work/big.bin" || head -c 1G /dev/zero >"$work/big.bin"
run_in "$work" "$work/big.bin" &
box_pid=$!
copying() { ls -l "/proc/$box_pid/fd" 2>/dev/null | grep -q "$work/dest/"; }
wait_until 60 copying || fail "the copy never began"
kill -TERM "$box_pid"
started=$SECONDS
wait_until 2 bash -c "! kill -0 $box_pid" || fail "the program did not end within two seconds of SIGTERM"
wait "$box_pid"
rc=$?
box_pid=""
[ "$rc" = 0 ] || fail "the program ended with $rc after SIGTERM"
[ -z "$(ls -A "$work/dest")" ] || fail "the destination holds $(ls -A "$work/dest")"
[ "$(stat -c %s "$work/big.bin")" = 1073741824 ] || fail "the source changed"
pass "SIGTERM during a copy ends the program with 0 within $((SECONDS - started)) s and leaves nothing behind"
