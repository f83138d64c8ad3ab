# The long memory series of scripts/bench: the Linux program's resident memory
# after many drops one after another against after the 10th, as a box kept
# running all day meets them. One series each of captures of a few files and
# of copies of small files into a folder (the copies removed after each drop,
# so that every copy is fresh). Sourced by scripts/bench after
# bench-common.sh; uses series_drops.

# series KIND: the drops made and the memory rows added.
series() {
  local kind=$1
  drop_limit=$((600 + 10 * series_drops)) drop "$box_x" "$box_y" "${@:2}"
  local failure
  failure=$(dropped_value ms)
  [[ $failure =~ ^[0-9] ]] || echo "  failed: the $kind series: $failure" >&2
  local early late
  read -r early _ <<<"$(dropped_memory 10)"
  read -r late _ <<<"$(dropped_memory "$series_drops")"
  add_row "memory after $(grouped "$series_drops") $kind drops (KiB)" "${late:--}" \
    "after 10 drops ${early:--}" "$(ratio "${late:--}" "${early:--}")" "within 10 %"
}

bench_memory() {
  echo "Memory over $(grouped "$series_drops") drops of each kind (a few minutes each)..."
  mkdir -p "$work/src/small" "$work/dest-small"
  local i few=()
  for i in 1 2 3; do
    head -c 4096 /dev/urandom >"$work/src/small/small-$i.bin"
    few+=("$work/src/small/small-$i.bin")
  done
  if start_box series-capture ""; then
    series capture clipboard 3 --drops "$series_drops" --watch "$box_pid" --settle 1000 -- \
      "${few[@]}"
    stop_process "$box_pid"
  fi
  if start_box series-copy "CommandMode=2\nconfirmcopy=0\nCopyDestination=$work/dest-small\n"; then
    series copy appears "$work/dest-small/small-3.bin" --drops "$series_drops" \
      --remove-from "$work/dest-small" --watch "$box_pid" --settle 1000 -- "${few[@]}"
    stop_process "$box_pid"
  fi
}
