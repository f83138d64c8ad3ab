# Starts a private virtual X display (Xvfb) for this shell and exports DISPLAY.
# The display goes away when the shell exits. Source this file, then call
# start_virtual_display [WIDTHxHEIGHT].
start_virtual_display() {
  local size="${1:-1280x1024}"
  local fifo
  fifo=$(mktemp -u /tmp/quorlith-display.XXXXXX)
  mkfifo "$fifo"
  # -noreset: the server would otherwise reset whenever its last client left,
  # and a program starting at that moment could not connect.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  QUORLITH_XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "${number:-}" ]; then
    echo "could not start a virtual display (Xvfb)" >&2
    return 1
  fi
  export DISPLAY=":$number"
  trap stop_virtual_display EXIT
}

stop_virtual_display() {
  # Wine's server is bound to the display it started on; it goes first.
  if command -v wineserver >/dev/null 2>&1 && [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "${QUORLITH_XVFB_PID:-}" ]; then
    kill "$QUORLITH_XVFB_PID" 2>/dev/null || true
    wait "$QUORLITH_XVFB_PID" 2>/dev/null || true
    QUORLITH_XVFB_PID=
  fi
}
