#!/usr/bin/env bash
# "scripts/run --windows": builds the Windows program (preset windows) and
# starts build/windows/Quorlith.exe under Wine in the foreground. Its settings
# file, Quorlith.ini, is written beside it. Without a display the box runs on
# a private virtual one, and this script says how to look at it.
set -euo pipefail
cd "$(dirname "$0")/../.."

scripts/setup test
cmake --preset windows -Wno-dev >/dev/null
cmake --build --preset windows --target Quorlith

export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quorlith/wine}"
if [ -z "${DISPLAY:-}" ]; then
  . scripts/lib/virtual-display.sh
  start_virtual_display || exit 1
  cat <<MESSAGE
Quorlith.exe runs under Wine on the virtual display $DISPLAY (no screen shows it).
  Look at it:  DISPLAY=$DISPLAY import -window root /tmp/quorlith-windows.png
  Drive it:    DISPLAY=$DISPLAY xdotool mousemove 281 237 click 3   (opens its menu)
  Stop it:     Ctrl+C here, or choose Exit from its menu
MESSAGE
fi

echo "Starting build/windows/Quorlith.exe (settings: build/windows/Quorlith.ini)"
cmake/wine-run build/windows/Quorlith.exe
