#!/usr/bin/env bash
# scripts/run where there is no display: it starts a virtual X server, says
# which display the box runs on and how to look at it, runs the box there in
# the foreground, and on Ctrl+C ends the box and the server.
# Usage: qt_run.sh path/to/quorlith
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/quorlith-run.XXXXXX)
runner=
cleanup() {
  [ -n "$runner" ] && kill -KILL -- "-$runner" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- scripts/run said:"; cat "$work/out"; exit 1; }
pass() { echo "ok: $*"; }
# Polls a command for up to ten seconds.
wait_for() {
  for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

# A copy of the program in a folder of its own, so that its settings file is
# written there; a home of its own for the desktop folder.
cp "$1" "$work/quorlith"
mkdir -p "$work/home"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/runtime"

# A session of its own, as a terminal gives it, so that Ctrl+C can be sent to
# the whole foreground group below.
env -u DISPLAY -u WAYLAND_DISPLAY setsid "$root/scripts/run" --binary "$work/quorlith" \
  >"$work/out" 2>&1 </dev/null &
runner=$!

wait_for grep -q "virtual X display :[0-9]" "$work/out" || fail "no word of a virtual display"
display=$(sed -n 's/.*virtual X display \(:[0-9][0-9]*\).*/\1/p' "$work/out" | head -1)
grep -q "import -window root" "$work/out" || fail "no way to look at the box is given"
grep -q "Ctrl+C" "$work/out" || fail "no way to stop it is given"
pass "scripts/run says the box runs on $display and how to see and stop it"

export DISPLAY="$display"
wait_for xdotool search --name '^Quorlithdropbox$' || fail "no box on $display"
box=$(xdotool search --name '^Quorlithdropbox$' | head -1)
[ "$(xdotool getwindowgeometry "$box" | sed -n 's/ *Geometry: //p')" = "75x75" ] ||
  fail "the box is not 75 x 75"
[ -f "$work/Quorlith.ini" ] || fail "no settings file beside the program"
pass "the box runs there, with its settings file beside the program"

# Ctrl+C reaches every process of the foreground group.
kill -INT -- "-$runner"
for _ in $(seq 100); do kill -0 "$runner" 2>/dev/null || break; sleep 0.1; done
kill -0 "$runner" 2>/dev/null && fail "scripts/run still runs after Ctrl+C"
runner=
xdpyinfo >/dev/null 2>&1 && fail "the virtual display $display is still there"
pass "Ctrl+C ends the box and the virtual display"
