#!/usr/bin/env bash
# The Linux program's answers reach the shell: --version on standard output
# with exit code 0, no display and an unreachable display on standard error
# with exit code 1 (never Qt's abort).
# Usage: qt_command_line.sh path/to/quorlith
set -uo pipefail
program=$1
work=$(mktemp -d /tmp/quorlith-cli.XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
failed=0

# expect NAME CODE STDOUT LAST-STDERR-LINE COMMAND...
expect() {
  local name=$1 code=$2 out=$3 err=$4
  shift 4
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [ "$got" = "$code" ] && [ "$(cat "$work/out")" = "$out" ] &&
    [ "$(tail -n 1 "$work/err")" = "$err" ]; then
    echo "ok: $name"
  else
    echo "FAIL: $name: exit $got (want $code)"; cat "$work/out" "$work/err"
    failed=1
  fi
}

number=4700
while [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
expect "--version" 0 "Quorlith version 1.1" "" "$program" --version
expect "no display" 1 "" "quorlith: no display; set DISPLAY or run scripts/run" \
  env -u DISPLAY "$program"
expect "unreachable display" 1 "" \
  "quorlith: the display could not be opened; check DISPLAY or run scripts/run" \
  env DISPLAY=":$number" "$program"
exit $failed
