# Shared steps of the process tests: a Quorlith program (Quorlith.exe under
# Wine, or the Linux quorlith) started from a folder of its own and driven
# with real X11 mouse input. Source it with the program's path as $1 and,
# to run it under a window manager, "managed" as $2.
set -uo pipefail

QUORLITH_PROGRAM=$(realpath "$1")
QUORLITH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
case "$QUORLITH_PROGRAM" in
  *.exe) program_kind=windows ;;
  *) program_kind=linux ;;
esac
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quorlith/wine-win32}"
export WINEDEBUG="${WINEDEBUG:--all}"
# The names the test makes and compares are UTF-8, as Wine must take them.
. "$QUORLITH_ROOT/scripts/lib/utf8-locale.sh"
. "$QUORLITH_ROOT/scripts/lib/virtual-display.sh"

work=$(mktemp -d /tmp/quorlith-box-XXXXXX)
box_pid=""       # what the test started: wine-run, or the Linux program
box_unix_pid=""  # the program itself, as its window names it
box_window=""
own_display=0
wm_pid=""

cleanup() {
  [ -n "$box_unix_pid" ] && kill "$box_unix_pid" 2>/dev/null
  [ -n "$box_pid" ] && kill "$box_pid" 2>/dev/null
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ "$own_display" = 1 ] && stop_virtual_display
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/Quorlith.ini" ] && { echo "--- Quorlith.ini:"; cat -A "$work/Quorlith.ini"; } >&2
  [ -s "$work/program.log" ] && { echo "--- the program said:"; tail -20 "$work/program.log"; } >&2
  exit 1
}

pass() { echo "ok: $*"; }

# Runs a command every 0.1 s until it succeeds; fails after $1 seconds.
wait_until() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  while ! "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -le 0 ] && return 1
    sleep 0.1
  done
}

window_manager_up() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

if [ "${2:-}" = managed ]; then
  # A display of its own with openbox on it. Wine hands its windows to the
  # window manager (its default, managed mode), in a prefix of its own so that
  # the unmanaged prefix of the other tests and its server stay as they are.
  start_virtual_display || exit 1
  own_display=1
  trap cleanup EXIT
  export WINEPREFIX="$WINEPREFIX-managed"
  unset QUORLITH_WINE_UNMANAGED
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  wait_until 20 window_manager_up || fail "openbox did not start"
elif [ -z "${DISPLAY:-}" ]; then
  # scripts/test gives the whole run one display; alone, the test makes its own.
  start_virtual_display || exit 1
  own_display=1
  trap cleanup EXIT
fi

# Becomes a copy of the program in folder $1 (its settings file lives there;
# a copy already there, perhaps running, is used as it is), with the output
# going to $1/program.log and the further arguments passed on. It ends the
# shell it runs in, so run it in the background or in a subshell.
run_in() {
  local folder=$1
  shift
  cd "$folder" || exit 1
  exec >>"$folder/program.log" 2>&1
  if [ "$program_kind" = windows ]; then
    [ -e Quorlith.exe ] || cp "$QUORLITH_PROGRAM" Quorlith.exe
    exec "$QUORLITH_ROOT/cmake/wine-run" "$folder/Quorlith.exe" "$@"
  fi
  [ -e quorlith ] || cp "$QUORLITH_PROGRAM" quorlith
  mkdir -p -m 700 "$work/runtime"
  exec env HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$folder/quorlith" "$@"
}

# The program's name for folder $1 (a path on this machine): the same on
# Linux, Wine's drive Z: path under Wine.
native_path() {
  if [ "$program_kind" = windows ]; then printf 'Z:%s' "${1//\//\\}"; else printf '%s' "$1"; fi
}
# What a capture puts between two paths, and between a folder and its entry.
capture_break=$'\n' separator=/
[ "$program_kind" = windows ] && capture_break=$'\r' separator='\'
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

# Starts the program from $work, with the arguments given, and waits for the
# box; a first Wine start in a fresh prefix takes a while.
start_box() {
  run_in "$work" "$@" &
  box_pid=$!
  wait_until 120 find_box || fail "the box did not appear"
  box_window=$(find_box)
  box_unix_pid=$(xdotool getwindowpid "$box_window" 2>/dev/null || true)
  # The window manager may still be placing it.
  sleep 0.5
}

find_box() { xdotool search --onlyvisible --name '^Quorlithdropbox$' 2>/dev/null | head -1 | grep .; }

# "x y width height" of a window, outer, in screen pixels.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
                          /Width:/ {w = $NF} /Height:/ {h = $NF} END {print x, y, w, h}'
}
box_is() { [ "$(geometry "$box_window")" = "$1" ]; }

# The program's visible windows other than the box and its tip (a line or two
# beside the box while the pointer rests on it): an open menu.
popups() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$box_unix_pid" 2>/dev/null | grep -vx "$box_window"); do
    [ "$(xwininfo -id "$w" | awk '/Height:/ {print $NF}')" -gt 60 ] && echo "$w"
  done | sort
}
menu_open() { [ -n "$(popups)" ]; }
menu_closed() { [ -z "$(popups)" ]; }

# The centre of the box.
body_point() {
  local g
  read -r -a g <<<"$(geometry "$box_window")"
  echo "$((g[0] + g[2] / 2)) $((g[1] + g[3] / 2))"
}

right_click_at() { xdotool mousemove "$1" "$2" sleep 0.3 click 3; }

# A double-click at (x, y), then a pause, so that the next click starts afresh.
double_click_at() {
  xdotool mousemove "$1" "$2" sleep 0.3 click --repeat 2 --delay 80 1
  sleep 0.7
}

# Fails unless the box comes to "x y width height"; passes $2.
expect_box() {
  wait_until 3 box_is "$1" || fail "$2: the box is at $(geometry "$box_window")"
  pass "$2"
}

# The left button goes down at (x, y); then the pointer moves by (dx, dy) in
# small, slow steps, as a hand moves it; then the button goes up.
press_at() {
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool mousedown 1
  sleep 0.3
}
move_from() {
  local x=$1 y=$2 dx=$3 dy=$4 steps=10 i
  for i in $(seq 1 $steps); do
    xdotool mousemove $((x + dx * i / steps)) $((y + dy * i / steps))
    sleep 0.08
  done
  sleep 0.3
}
release() {
  xdotool mouseup 1
  sleep 0.5
}
drag_by() {
  press_at "$1" "$2"
  move_from "$@"
  release
}

# The value of a key in the settings file, without the carriage return.
ini_value() { grep -a "^$1=" "$work/Quorlith.ini" | head -1 | cut -d= -f2- | tr -d '\r'; }
ini_is() { [ "$(ini_value "$1")" = "$2" ]; }

# Right-clicks at (x, y) and expects the menu with its corner at the pointer;
# passes $3.
open_menu_at() {
  right_click_at "$1" "$2"
  wait_until 5 menu_open || fail "$3: no menu after a right-click"
  local g
  read -r -a g <<<"$(geometry "$(popups | head -1)")"
  [ "${g[0]} ${g[1]}" = "$1 $2" ] || fail "$3: menu at ${g[0]},${g[1]}, pointer at $1,$2"
  pass "$3"
}

close_menu() {
  xdotool key Escape
  wait_until 5 menu_closed || fail "Escape left the menu open"
}

# Chooses Exit from the open menu with its access key; expects exit code 0.
choose_exit() {
  xdotool key e
  wait_until 30 bash -c "! kill -0 $box_pid" || fail "the program did not end after Exit"
  wait "$box_pid"
  local rc=$?
  box_pid=""
  box_unix_pid=""
  [ "$rc" = 0 ] || fail "exit code $rc after Exit"
  pass "Exit ends the program with exit code 0"
}

# The first-run settings file line by line, but for its two destinations.
first_run=("[Coordinates]" x=244 y=200 w=75 h=75 t=75 b=1 m=1 "[Options]" CommandMode=1
  pathaction=1 listseparator=1 encase=0 deletetobin=1 confirmdelete=1 confirmcopy=1
  confirmmove=1 overwritefile=0)

# Writes a settings file with the first-run values, C:\ as both destinations,
# and the changes given as key=value arguments.
write_settings() {
  local line change
  for line in "${first_run[@]}" 'CopyDestination=C:\' 'MoveDestination=C:\'; do
    for change in "$@"; do [ "${change%%=*}" = "${line%%=*}" ] && line=$change; done
    printf '%s\r\n' "$line"
  done >"$work/Quorlith.ini"
}
