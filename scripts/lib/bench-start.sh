# The start-up figures of scripts/bench: from the start until the box shows on
# the screen, and the resident memory 2 s later, for the Linux program and the
# Windows one (64-bit, under Wine), each round beside a bare window of the
# same shape. Sourced by scripts/bench after bench-common.sh.

# The box at (600, 600), 75 x 75; the clock (bench/start_clock.cpp) watches a
# point inside it and reads the memory 2 s after it showed.
start_clock() { timeout 90 "$bin/bench/quorlith_bench_start" 637 637 2000 -- "$@"; }

# clock_round FIGURE WHAT PROGRAM...: one start, kept as FIGURE (milliseconds)
# and FIGURE-memory (KiB).
clock_round() {
  local figure=$1 what=$2 ms kib
  shift 2
  read -r ms kib < <(start_clock "$@")
  record "$figure" "${ms:-failed}" "start of $what"
  [[ $ms =~ ^[0-9] ]] && record "$figure-memory" "$kib" "memory of $what"
}

# Both rows of a program against its bare window: start and idle memory.
start_rows() {
  local q b
  q=$(median "$2") b=$(median "$3")
  add_row "start to visible box, $1" "$q" "bare $4 window $b" "$(ratio "$q" "$b")" "<= 1.1"
  q=$(median "$2-memory") b=$(median "$3-memory")
  add_row "idle memory 2 s after, $1 (KiB)" "$q" "bare $4 window $b" "$(ratio "$q" "$b")" "<= 1.1"
}

start_linux_box() { clock_round start-linux "the Linux program" "$work/start/quorlith"; }
start_linux_bare() {
  clock_round start-linux-bare "the bare Qt window" "$bin/bench/quorlith_bench_bare_window" 600 600
}
bench_start_linux() {
  echo "Start-up, Linux..."
  for round in $(seq "$runs"); do in_turn "$round" start_linux_box start_linux_bare; done
  start_rows "Linux" start-linux start-linux-bare Qt
}

wine64=/usr/lib/wine/wine64
start_windows_box() {
  clock_round start-win "the Windows program" "$wine64" "$work/start-win/Quorlith.exe"
}
start_windows_bare() {
  clock_round start-win-bare "the bare Win32 window" "$wine64" "$bare_exe" 600 600
}
bench_start_windows() {
  echo "Start-up, Windows (64-bit, Wine)..."
  bare_exe=$root/build/windows64/bench/quorlith_bench_bare_window.exe
  if [ ! -x "$wine64" ]; then
    echo "  failed: Wine ($wine64) is not installed" >&2
    return
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "  making the Wine prefix $WINEPREFIX..."
    mkdir -p "$(dirname "$WINEPREFIX")"
    WINEDLLOVERRIDES=mscoree,mshtml= timeout 300 "$wine64" wineboot --init >/dev/null 2>&1
    timeout 120 wineserver -w
  fi
  # One server for all runs, the prefix warmed first.
  wineserver -p >/dev/null 2>&1
  start_clock "$wine64" "$bare_exe" 600 600 >/dev/null
  # A window kept open elsewhere, so that Wine's desktop process stays up
  # between the runs instead of starting again with some of them.
  "$wine64" "$bare_exe" 1100 900 >/dev/null 2>&1 &
  local keeper=$!
  sleep 2
  for round in $(seq "$runs"); do in_turn "$round" start_windows_box start_windows_bare; done
  stop_process "$keeper"
  timeout 30 wineserver -k >/dev/null 2>&1
  start_rows "Windows (64-bit, Wine)" start-win start-win-bare Win32
}

bench_start() {
  mkdir -p "$work/start" "$work/start-win"
  cp "$bin/quorlith" "$work/start/"
  cp "$root/build/windows64/Quorlith.exe" "$work/start-win/"
  printf '[Coordinates]\nx=600\ny=600\nw=75\nh=75\nt=75\nb=1\nm=1\n[Options]\nCommandMode=1\n' |
    tee "$work/start/Quorlith.ini" | sed 's/$/\r/' >"$work/start-win/Quorlith.ini"
  timed bench_start_linux
  timed bench_start_windows
}
