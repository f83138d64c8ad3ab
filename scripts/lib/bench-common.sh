# What the parts of scripts/bench share: the rounds and their order, the
# figures kept per round, the table, and starting, stopping and dropping on
# the programs. Sourced by scripts/bench, which sets root, work, bin and runs.

# Milliseconds between two $EPOCHREALTIME values (read as plain variables, so
# that no subshell adds to what is timed).
ms_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b - a) * 1000 }'; }

# Flushes what earlier steps wrote, so that each measurement starts alike.
settle() {
  timeout 120 sync
  sleep 0.5
}

# The program and its reference in turn, the program first in odd rounds and
# the reference first in even ones: neither always meets the machine as the
# other left it. Each argument is a command (words without spaces).
in_turn() {
  if (($1 % 2)); then
    $2
    $3
  else
    $3
    $2
  fi
}

# Runs a part of the bench and tells how long it took.
timed() {
  local started=$SECONDS
  "$@"
  echo "  ($((SECONDS - started)) s)"
}

# --- figures: one file per figure, one value a line ---------------------------
# record FIGURE VALUE WHAT: keeps a number; anything else is a failure, told
# at once with what failed and in which round.
record() {
  if [[ $2 =~ ^-?[0-9]+(\.[0-9]+)?$ ]]; then
    echo "$2" >>"$work/figures/$1"
  else
    echo "  failed: $3, round ${round:-1}: ${2:-no figure}" >&2
  fi
}
# The median of a figure's values, or "-" when there are none.
median() {
  [ -s "$work/figures/$1" ] || { echo -; return; }
  sort -g "$work/figures/$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (a != "-" && b != "-" && b > 0) printf "%.2f", a / b; else print "-" }'
}
# A figure per item (a, the total, over n items, times scale), or "-".
per() {
  awk -v a="$1" -v n="$2" -v s="$3" 'BEGIN { if (a != "-" && n > 0) printf "%.2f", a * s / n; else print "-" }'
}
# The difference a - b of two figures, or "-".
minus() { awk -v a="$1" -v b="$2" 'BEGIN { if (a != "-" && b != "-") print a - b; else print "-" }'; }

table=()
# add_row WORK QUORLITH REFERENCE RATIO GOAL
add_row() {
  local IFS=$'\t'
  table+=("$*")
}
print_table() {
  local line
  printf '%-50s %-10s %-36s %-12s %s\n' work Quorlith reference ratio goal
  for line in "${table[@]}"; do
    IFS=$'\t' read -r -a cells <<<"$line"
    printf '%-50s %-10s %-36s %-12s %s\n' "${cells[@]}"
  done
}
# 1000 -> 1,000
grouped() { sed -E ':a; s/^([0-9]+)([0-9]{3})/\1,\2/; ta' <<<"$1"; }

# --- the programs --------------------------------------------------------------
# Ends a process started here: asked first, then forced after 5 s.
stop_process() {
  [ -n "${1:-}" ] || return 0
  kill "$1" 2>/dev/null
  for _ in $(seq 50); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

# Waits up to 30 s until process PID shows a window (named like NAME).
window_shown() {
  local -a name=()
  [ -n "${2:-}" ] && name=(--name "$2")
  timeout 30 xdotool search --sync --onlyvisible --pid "$1" "${name[@]}" >/dev/null
}

# start_box NAME SETTINGS: the program in a folder of its own, its settings
# (the [Options] lines, with \n) beside it, shown at (100, 100), 120 x 100;
# its pid in box_pid. Fails, saying so, when it does not show.
box_pid=
box_x=160 box_y=150
start_box() {
  local folder=$work/box-$1
  mkdir -p "$folder"
  cp "$bin/quorlith" "$folder/"
  printf '[Coordinates]\nx=100\ny=100\nw=120\nh=100\nt=100\nb=1\nm=1\n[Options]\n%b' "$2" \
    >"$folder/Quorlith.ini"
  "$folder/quorlith" >/dev/null 2>&1 &
  box_pid=$!
  window_shown "$box_pid" '^Quorlithdropbox$' && return 0
  echo "  failed: the $1 box did not show within 30 s" >&2
  stop_process "$box_pid"
  return 1
}

# The bare Qt drop target at (100, 500), 75 x 75, beside the box; its pid in
# bare_pid.
bare_pid=
bare_x=137 bare_y=537
start_bare_target() {
  "$bin/bench/quorlith_bench_bare_target" 100 500 >/dev/null 2>&1 &
  bare_pid=$!
  window_shown "$bare_pid" && return 0
  echo "  failed: the bare drop target did not show within 30 s" >&2
  stop_process "$bare_pid"
  return 1
}

# drop X Y MODE ARGUMENT [OPTION...] -- [FILE...]: the drag helper's drops
# (bench/bench_drop.cpp); its lines in dropped. Each of its steps has a limit
# of its own; drop_limit (seconds, 600 unless set) bounds the whole in case it
# hangs regardless.
dropped=
drop() {
  local limit=${drop_limit:-600}
  dropped=$(timeout "$limit" "$bin/bench/quorlith_bench_drop" "$@" 2>>"$work/drop-helper.log")
  [ $? = 124 ] && dropped="failed: the drag helper was stopped after $limit s"
  return 0
}
# A value from the helper's last lines: dropped_value ms, dropped_value accept,
# or the failure when there is one.
dropped_value() {
  local failure
  failure=$(sed -n 's/^failed: //p' <<<"$dropped")
  if [ -n "$failure" ]; then echo "$failure"; return; fi
  awk -v key="$1" '$1 == key { print $2 }' <<<"$dropped"
}
# The resident memory and its peak (KiB) after DROPS drops: "RSS PEAK".
dropped_memory() { awk -v n="$1" '$1 == "memory" && $2 == n { print $3, $4 }' <<<"$dropped"; }
