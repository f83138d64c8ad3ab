#!/usr/bin/env bash
# "scripts/screenshots settings": the settings window of both programs, opened
# from the box's menu with real input, at 96 and at 192 DPI, each on a private
# virtual X server: docs/screenshot-settings-{linux,windows}-{96,192}.png.
# Linux: the X resource Xft.dpi is the scale Qt follows, under openbox, which
# draws the window's frame. Windows: the 64-bit program under Wine, at 192 DPI
# in a prefix whose LogPixels is 192 (the one the DPI tests use).
set -euo pipefail
cd "$(dirname "$0")/../.."

scripts/setup test
for preset in linux windows64; do
  cmake --preset "$preset" -Wno-dev >/dev/null
done
cmake --build --preset linux --target quorlith
cmake --build --preset windows64 --target Quorlith

. scripts/lib/virtual-display.sh
. scripts/lib/wine-dpi.sh
base_prefix="${QUORLITH_TEST_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quorlith/wine-test}"
work=$(mktemp -d /tmp/quorlith-screenshots.XXXXXX)
pids=()
finish() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  pids=()
  stop_virtual_display
}
trap 'finish; rm -rf "$work"' EXIT

wait_for() {
  for _ in $(seq 300); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "screenshots: gave up waiting for: $*" >&2
  return 1
}

# Opens the settings window from the menu of the box on the display and
# takes the part of the screen that holds the box and the window.
shoot() {
  local out=$1
  wait_for xdotool search --onlyvisible --name '^Quorlithdropbox$'
  sleep 1
  local box
  box=$(xdotool search --onlyvisible --name '^Quorlithdropbox$' | head -1)
  eval "$(xdotool getwindowgeometry --shell "$box")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
  sleep 1
  xdotool key s
  wait_for xdotool search --onlyvisible --name '^Quorlith Settings$'
  # The pointer rests elsewhere: the box's tip goes.
  xdotool mousemove 5 5
  sleep 5
  local window
  window=$(xdotool search --onlyvisible --name '^Quorlith Settings$' | head -1)
  local right bottom
  eval "$(xdotool getwindowgeometry --shell "$window")"
  right=$((X + WIDTH)) bottom=$((Y + HEIGHT))
  # From the box's corner to the window's, with a margin; the frame around.
  local margin=$((Y / 4))
  import -window root -crop "$((right + margin))x$((bottom + margin))+0+0" +repage "$out"
  echo "screenshots: $out"
}

# A desktop to stand on: a plain gradient on the root window.
backdrop() {
  # It paints the root, and then answers 1 all the same.
  display -window root -size "$1" 'gradient:#6f9bc8-#23415f' || true
}

mkdir -p docs
for dpi in 96 192; do
  scale=$((dpi / 96))
  size="$((900 * scale))x$((720 * scale))"

  # Linux, capturing names in quotes, joined by commas.
  start_virtual_display "$size"
  echo "Xft.dpi: $dpi" | xrdb -merge
  backdrop "$size"
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  wait_for sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
  folder="$work/linux-$dpi"
  mkdir -p "$folder/runtime" && chmod 700 "$folder/runtime"
  cp build/linux/quorlith "$folder/"
  printf '[Coordinates]\nx=40\ny=40\nw=75\nh=75\nt=75\nb=1\nm=1\n[Options]\nCommandMode=1\npathaction=2\nlistseparator=3\nencase=1\nCopyDestination=/home/ann/Desktop\nMoveDestination=/home/ann/Desktop\n' \
    >"$folder/Quorlith.ini"
  (cd "$folder" && HOME=/home/ann XDG_CONFIG_HOME="$folder/config" \
    XDG_RUNTIME_DIR="$folder/runtime" QT_QPA_PLATFORM=xcb ./quorlith >/dev/null 2>&1) &
  pids+=($!)
  shoot "docs/screenshot-settings-linux-$dpi.png"
  finish

  # Windows, copying to a backup folder after asking.
  start_virtual_display "$size"
  backdrop "$size"
  if [ "$dpi" = 96 ]; then
    export WINEPREFIX="$base_prefix"
  else
    wine_dpi_prefix "$base_prefix" "$dpi"
  fi
  export QUORLITH_WINE_UNMANAGED=1 WINEDEBUG=-all
  folder="$work/windows-$dpi"
  mkdir -p "$folder"
  cp build/windows64/Quorlith.exe "$folder/"
  printf '[Coordinates]\r\nx=40\r\ny=40\r\nw=75\r\nh=75\r\nt=75\r\nb=1\r\nm=1\r\n[Options]\r\nCommandMode=2\r\nCopyDestination=D:\\Backup\r\nMoveDestination=D:\\Backup\r\n' \
    >"$folder/Quorlith.ini"
  cmake/wine-run "$folder/Quorlith.exe" >/dev/null 2>&1 &
  pids+=($!)
  shoot "docs/screenshot-settings-windows-$dpi.png"
  finish
done
