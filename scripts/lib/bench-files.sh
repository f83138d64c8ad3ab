# The drops of scripts/bench that move, copy, delete and capture files, each
# round beside its reference: mv, cp, cp then sync, gio trash, and the bare Qt
# drop target. Sourced by scripts/bench after bench-common.sh; uses big_mib,
# trash_count and path_counts.

big_label() {
  if ((big_mib % 1024 == 0)); then echo "$((big_mib / 1024)) GiB"; else echo "$big_mib MiB"; fi
}
largest_count() { printf '%s\n' $path_counts | tail -n 1; }

refill_trash_folder() {
  (cd "$work/src/trash" && seq -f 'file-%04g.txt' 1 "$trash_count" | xargs touch)
}

make_files() {
  echo "Making the files..."
  head -c $((big_mib * 1048576)) /dev/urandom >"$work/src/big.bin"
  printf x >"$work/src/tiny.bin"
  mkdir -p "$work/src/trash"
  refill_trash_folder
  seq -f "$work/src/trash/file-%04g.txt" 1 "$trash_count" >"$work/trash.list"
  # The captured paths name real files, with names of some length.
  local most
  most=$(largest_count)
  (cd "$work/paths" && seq -f 'a-dropped-file-with-a-name-of-some-length-%06g.txt' 1 "$most" |
    xargs touch)
  seq -f "$work/paths/a-dropped-file-with-a-name-of-some-length-%06g.txt" 1 "$most" \
    >"$work/paths.list"
  settle
}

# --- moves within one file system: the program (big file and 1 byte), mv ----
move_by_quorlith() {
  drop "$box_x" "$box_y" gone "$work/src/big.bin" -- "$work/src/big.bin"
  record move-big "$(dropped_value ms)" "move of $(big_label) by Quorlith"
  [ -e "$work/dest/big.bin" ] && mv "$work/dest/big.bin" "$work/src/big.bin"
  drop "$box_x" "$box_y" gone "$work/src/tiny.bin" -- "$work/src/tiny.bin"
  record move-tiny "$(dropped_value ms)" "move of 1 byte by Quorlith"
  [ -e "$work/dest/tiny.bin" ] && mv "$work/dest/tiny.bin" "$work/src/tiny.bin"
}
move_by_mv() {
  local t0 t1
  t0=$EPOCHREALTIME
  mv "$work/src/big.bin" "$work/dest/big.bin"
  t1=$EPOCHREALTIME
  record move-mv "$(ms_between "$t0" "$t1")" "mv"
  mv "$work/dest/big.bin" "$work/src/big.bin"
}
bench_moves() {
  echo "Moves..."
  start_box move "CommandMode=3\nconfirmmove=0\nMoveDestination=$work/dest\n" || return
  for round in $(seq "$runs"); do in_turn "$round" move_by_quorlith move_by_mv; done
  stop_process "$box_pid"
  local big tiny mv
  big=$(median move-big) tiny=$(median move-tiny) mv=$(median move-mv)
  add_row "move $(big_label) within one file system" "$big" "mv $mv" "$(ratio "$big" "$mv")" -
  add_row "  the same with 1 byte" "$tiny" "($(big_label) against 1 byte)" \
    "$(ratio "$big" "$tiny")" -
}

# --- copies to a fresh target: the program, cp, cp then sync of the file -----
copy_by_quorlith() {
  settle
  drop "$box_x" "$box_y" appears "$work/dest/big.bin" -- "$work/src/big.bin"
  record copy "$(dropped_value ms)" "copy of $(big_label) by Quorlith"
  rm -f "$work/dest/big.bin"
}
copy_by_cp() {
  local t0 t1
  settle
  t0=$EPOCHREALTIME
  cp "$work/src/big.bin" "$work/dest/big.bin"
  t1=$EPOCHREALTIME
  record copy-cp "$(ms_between "$t0" "$t1")" "cp"
  rm -f "$work/dest/big.bin"
  settle
  t0=$EPOCHREALTIME
  cp "$work/src/big.bin" "$work/dest/big.bin" && sync "$work/dest/big.bin"
  t1=$EPOCHREALTIME
  record copy-cp-sync "$(ms_between "$t0" "$t1")" "cp then sync"
  rm -f "$work/dest/big.bin"
}
bench_copies() {
  echo "Copies..."
  start_box copy "CommandMode=2\nconfirmcopy=0\nCopyDestination=$work/dest\n" || return
  # A first copy, not measured: the first writes to fresh disk blocks can be
  # much slower, and neither side should pay for them.
  cp "$work/src/big.bin" "$work/dest/big.bin"
  rm -f "$work/dest/big.bin"
  for round in $(seq "$runs"); do in_turn "$round" copy_by_quorlith copy_by_cp; done
  stop_process "$box_pid"
  local copy cp cps
  copy=$(median copy) cp=$(median copy-cp) cps=$(median copy-cp-sync)
  add_row "copy $(big_label) (fresh target)" "$copy" "cp $cp; cp then sync $cps" \
    "$(ratio "$copy" "$cp"); $(ratio "$copy" "$cps")" "<= 1.1 against cp"
}

# --- the Trash: the program and gio trash ------------------------------------
trash_by_quorlith() {
  rm -rf "$work/data/Trash"
  settle
  drop "$box_x" "$box_y" gone "$(tail -n 1 "$work/trash.list")" --from "$work/trash.list" --
  record trash "$(dropped_value ms)" "$trash_count files to the Trash by Quorlith"
  [ -e "$(head -n 1 "$work/trash.list")" ] && echo "  warning: the Trash left files behind" >&2
  refill_trash_folder
}
trash_by_gio() {
  local t0 t1 files
  mapfile -t files <"$work/trash.list"
  rm -rf "$work/data/Trash"
  settle
  t0=$EPOCHREALTIME
  timeout 300 gio trash "${files[@]}"
  t1=$EPOCHREALTIME
  record trash-gio "$(ms_between "$t0" "$t1")" "gio trash"
  refill_trash_folder
}
bench_trash() {
  echo "The Trash..."
  start_box trash "CommandMode=4\ndeletetobin=1\nconfirmdelete=0\n" || return
  local reference=trash_by_gio
  command -v gio >/dev/null 2>&1 || reference=:
  for round in $(seq "$runs"); do in_turn "$round" trash_by_quorlith "$reference"; done
  stop_process "$box_pid"
  local trash gio
  trash=$(median trash) gio=$(median trash-gio)
  [ "$reference" = : ] && gio="(gio is not installed)"
  add_row "$(grouped "$trash_count") dropped files to the Trash" "$trash" "gio trash $gio" \
    "$(ratio "$trash" "$gio")" -
}

# --- captures of many paths: the program and the bare Qt drop target ---------
# capture_on quorlith|bare N: one drop of N paths, timed, with the target's
# peak memory during it and its resident memory once the drop has been
# handled (2 s after the largest), both counted over its idle memory: what a
# drop leaves behind shows in the next rounds too.
capture_on() {
  local who=$1 n=$2 x=$box_x y=$box_y pid=$box_pid idle=$idle_quorlith pause=200
  [ "$who" = bare ] && x=$bare_x y=$bare_y pid=$bare_pid idle=$idle_bare
  [ "$n" = "$(largest_count)" ] && pause=2000
  drop "$x" "$y" clipboard "$n" --from "$work/paths-$n.list" --watch "$pid" --settle "$pause" --
  local ms peak after
  ms=$(dropped_value ms)
  record "capture-$who-$n" "$ms" "capture of $n paths, $who"
  [[ $ms =~ ^[0-9] ]] || return
  record "accept-$who-$n" "$(dropped_value accept)" "accept of $n paths, $who"
  read -r after peak <<<"$(dropped_memory 1)"
  record "peak-$who-$n" "$peak" "peak memory of $n paths, $who"
  record "growth-$who-$n" "$(minus "$peak" "$idle")" "memory growth of $n paths, $who"
  record "kept-$who-$n" "$(minus "$after" "$idle")" "memory kept after $n paths, $who"
}
# first_drop X Y PID: a drop of a few paths, not measured, so that what a
# program sets up on its first drop is not counted against the first number
# of paths. Prints the target's resident memory 1 s later, its idle memory
# for the captures, or "-" when the drop failed.
first_drop() {
  drop "$1" "$2" clipboard "$(wc -l <"$work/paths-first.list")" \
    --from "$work/paths-first.list" --watch "$3" --settle 1000 --
  local ms idle
  ms=$(dropped_value ms)
  read -r idle _ <<<"$(dropped_memory 1)"
  [[ $ms =~ ^[0-9] ]] || echo "  failed: a first drop, not measured: $ms" >&2
  echo "${idle:--}"
}
bench_captures() {
  echo "Captures..."
  start_box capture "" || return
  start_bare_target || { stop_process "$box_pid"; return; }
  head -n 10 "$work/paths.list" >"$work/paths-first.list"
  idle_quorlith=$(first_drop "$box_x" "$box_y" "$box_pid")
  idle_bare=$(first_drop "$bare_x" "$bare_y" "$bare_pid")
  add_row "idle memory of the drop targets (KiB)" "$idle_quorlith" \
    "bare Qt drop target $idle_bare" "$(ratio "$idle_quorlith" "$idle_bare")" -
  local n q b
  for n in $path_counts; do
    head -n "$n" "$work/paths.list" >"$work/paths-$n.list"
    for round in $(seq "$runs"); do
      in_turn "$round" "capture_on quorlith $n" "capture_on bare $n"
    done
    q=$(median "capture-quorlith-$n") b=$(median "capture-bare-$n")
    add_row "capture $(grouped "$n") dropped paths" "$q" "bare Qt drop target $b" \
      "$(ratio "$q" "$b")" "<= 1.0"
    add_row "  time per path (us)" "$(per "$q" "$n" 1000)" "bare $(per "$b" "$n" 1000)" \
      "$(ratio "$q" "$b")" -
    q=$(median "accept-quorlith-$n") b=$(median "accept-bare-$n")
    add_row "  drag accepted, from entering the target" "$q" "bare $b" "$(ratio "$q" "$b")" -
    q=$(median "peak-quorlith-$n") b=$(median "peak-bare-$n")
    add_row "  peak memory, VmHWM (KiB)" "$q" "bare $b" "$(ratio "$q" "$b")" -
    q=$(median "growth-quorlith-$n") b=$(median "growth-bare-$n")
    add_row "  peak over idle, per path (bytes)" "$(per "$q" "$n" 1024)" \
      "bare $(per "$b" "$n" 1024)" "$(ratio "$q" "$b")" -
  done
  n=$(largest_count)
  q=$(median "kept-quorlith-$n") b=$(median "kept-bare-$n")
  add_row "  kept 2 s after that drop, over idle (KiB)" "$q" "bare $b" "$(ratio "$q" "$b")" -
  stop_process "$box_pid"
  stop_process "$bare_pid"
}

bench_files() {
  timed make_files
  timed bench_moves
  timed bench_copies
  timed bench_trash
  timed bench_captures
}
