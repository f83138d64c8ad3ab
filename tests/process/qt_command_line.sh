#!/usr/bin/env bash
# The Linux program's command line as a shell meets it: each answer on its
# stream with its exit code, and a display that cannot be opened ends the
# program with a word on standard error instead of an abort.
# Usage: qt_command_line.sh path/to/quorlith
set -uo pipefail
program=$1
work=$(mktemp -d /tmp/quorlith-cli.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export HOME="$work" XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
failed=0

# check NAME CODE STDOUT STDERR COMMAND...: the exit code and both streams, exactly.
check() {
  local name=$1 code=$2 out=$3 err=$4
  shift 4
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [ "$got" != "$code" ] || [ "$(cat "$work/out")" != "$out" ] ||
    [ "$(cat "$work/err")" != "$err" ]; then
    echo "FAIL: $name: exit $got (want $code)"
    echo "--- stdout:"; cat "$work/out"; echo "--- stderr:"; cat "$work/err"
    failed=1
  else
    echo "ok: $name"
  fi
}

usage="usage: quorlith [--help | --version]"
check "--version" 0 "Quorlith version 1.1" "" "$program" --version
check "unknown option" 2 "" "quorlith: unknown option '-v'; $usage" "$program" -v
check "no display" 1 "" "quorlith: no display; set DISPLAY or run scripts/run" \
  env -u DISPLAY "$program"

# A display nobody serves: Qt's warnings, then our line, and exit code 1.
number=4700
while [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
DISPLAY=":$number" "$program" >/dev/null 2>"$work/err"
got=$?
if [ "$got" != 1 ] || [ "$(tail -n 1 "$work/err")" != \
  "quorlith: the display could not be opened; check DISPLAY or run scripts/run" ]; then
  echo "FAIL: unreachable display: exit $got"; cat "$work/err"
  failed=1
else
  echo "ok: unreachable display"
fi
exit $failed
