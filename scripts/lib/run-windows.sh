# "scripts/run --windows": builds the Windows program and starts it under Wine
# in the foreground: the 32-bit build/windows/Quorlith.exe (preset windows),
# or, where this host cannot run 32-bit programs, the 64-bit
# build/windows64/Quorlith.exe (preset windows64). Its settings file,
# Quorlith.ini, is written beside it. Without a display the box runs on a
# private virtual one, and this script says how to look at it.
set -euo pipefail
cd "$(dirname "$0")/../.."

scripts/setup test
if cmake/wine-run --can-run-32bit; then
  preset=windows
  which="the 32-bit program"
else
  preset=windows64
  which="the 64-bit program, since this host cannot run 32-bit programs"
fi
cmake --preset "$preset" -Wno-dev >/dev/null
cmake --build --preset "$preset" --target Quorlith

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

echo "Starting build/$preset/Quorlith.exe, $which (settings: build/$preset/Quorlith.ini)"
cmake/wine-run "build/$preset/Quorlith.exe"
