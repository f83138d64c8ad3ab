# The drops of scripts/bench that copy and move whole folders, each round
# beside its reference: cp -R, mv, and the program's own move of 1 byte; and
# the peak memory of a copy of 100,000 files. Sourced by scripts/bench after
# bench-common.sh; uses big_mib and folder_files.

# A folder's copy is done once its folder has the source's modification time,
# which the copy gives it last; the source folders carry an old one.
make_folders() {
  echo "Making the folders..."
  local d per=$((folder_files / 100)) part=$((big_mib / 16))
  for d in $(seq -f '%03g' 1 100); do
    mkdir -p "$work/src/tree/folder-$d"
    head -c $((per * 4096)) /dev/urandom |
      split -b 4096 -a 5 -d --additional-suffix=.jpg - "$work/src/tree/folder-$d/photo-"
  done
  mkdir -p "$work/src/large"
  for d in $(seq -f '%02g' 1 16); do
    head -c $((part * 1048576)) /dev/urandom >"$work/src/large/part-$d.bin"
  done
  for d in $(seq -f '%03g' 1 100); do
    mkdir -p "$work/src/many/folder-$d"
    (cd "$work/src/many/folder-$d" && seq -f 'f%05g' 1 1000 | xargs touch)
  done
  touch -d '2001-02-03 04:05:06' "$work/src/tree" "$work/src/large" "$work/src/many"
  shm_dest=$(mktemp -d /dev/shm/quorlith-bench-XXXXXX) || shm_dest=
  settle
}

# copy_folder_by_quorlith NAME FIGURE: a drop of src/NAME on the copy box.
copy_folder_by_quorlith() {
  settle
  drop "$box_x" "$box_y" appears "$work/dest/$1" --dated "$work/src/$1" -- "$work/src/$1"
  record "$2" "$(dropped_value ms)" "copy of the folder $1 by Quorlith"
  rm -rf "${work:?}/dest/$1"
}
copy_folder_by_cp() {
  local t0 t1
  settle
  t0=$EPOCHREALTIME
  cp -R "$work/src/$1" "$work/dest/"
  t1=$EPOCHREALTIME
  record "$2" "$(ms_between "$t0" "$t1")" "cp -R of the folder $1"
  rm -rf "${work:?}/dest/$1"
}
copy_tree_q() { copy_folder_by_quorlith tree copy-tree; }
copy_tree_cp() { copy_folder_by_cp tree copy-tree-cp; }
copy_large_q() { copy_folder_by_quorlith large copy-large; }
copy_large_cp() { copy_folder_by_cp large copy-large-cp; }

# --- moves of the tree: to /dev/shm (another file system) and within one -----
move_tree_away_by_quorlith() {
  settle
  drop "$box_x" "$box_y" gone "$work/src/tree" -- "$work/src/tree"
  record move-tree-shm "$(dropped_value ms)" "move of the tree to /dev/shm by Quorlith"
  [ -d "$shm_dest/tree" ] && mv "$shm_dest/tree" "$work/src/tree"
}
move_tree_away_by_mv() {
  local t0 t1
  settle
  t0=$EPOCHREALTIME
  mv "$work/src/tree" "$shm_dest/"
  t1=$EPOCHREALTIME
  record move-tree-shm-mv "$(ms_between "$t0" "$t1")" "mv of the tree to /dev/shm"
  mv "$shm_dest/tree" "$work/src/tree"
}
# A folder's rename writes its parents and itself: the journal must not still
# be busy with the last move back, for either side.
move_tree_within_by_quorlith() {
  settle
  drop "$box_x" "$box_y" gone "$work/src/tree" -- "$work/src/tree"
  record move-tree-here "$(dropped_value ms)" "move of the tree within the file system"
  [ -d "$work/dest/tree" ] && mv "$work/dest/tree" "$work/src/tree"
}
move_tiny_by_quorlith() {
  settle
  drop "$box_x" "$box_y" gone "$work/src/tiny.bin" -- "$work/src/tiny.bin"
  record move-tiny-here "$(dropped_value ms)" "move of 1 byte"
  [ -e "$work/dest/tiny.bin" ] && mv "$work/dest/tiny.bin" "$work/src/tiny.bin"
}

# --- peak memory of a copy of 100,000 files ------------------------------------
copy_many_watched() {
  drop "$box_x" "$box_y" appears "$work/dest/many" --dated "$work/src/many" \
    --watch "$box_pid" --settle 1000 -- "$work/src/many"
  local idle peak
  read -r idle _ <<<"$(dropped_memory 0)"
  read -r _ peak <<<"$(dropped_memory 1)"
  record copy-many "$(dropped_value ms)" "copy of 100,000 files"
  record copy-many-growth "$(minus "${peak:--}" "${idle:--}")" "peak memory of 100,000 files"
  rm -rf "${work:?}/dest/many"
}

bench_folders() {
  echo "Folders..."
  [ -e "$work/src/tiny.bin" ] || printf x >"$work/src/tiny.bin"
  local files
  files=$(grouped "$folder_files")
  if start_box folder-copy "CommandMode=2\nconfirmcopy=0\nCopyDestination=$work/dest\n"; then
    for round in $(seq "$runs"); do in_turn "$round" copy_tree_q copy_tree_cp; done
    for round in $(seq "$runs"); do in_turn "$round" copy_large_q copy_large_cp; done
    for round in $(seq "$runs"); do copy_many_watched; done
    stop_process "$box_pid"
  fi
  local q r
  q=$(median copy-tree) r=$(median copy-tree-cp)
  add_row "copy a folder of $files files of 4 KiB in 100 folders" "$q" "cp -R $r" \
    "$(ratio "$q" "$r")" "<= 1.2"
  q=$(median copy-large) r=$(median copy-large-cp)
  add_row "copy a folder of $(big_label) in 16 files" "$q" "cp -R $r" "$(ratio "$q" "$r")" "<= 1.1"
  q=$(median copy-many-growth)
  add_row "copy of 100,000 files: peak over idle (KiB)" "$q" "32 MB ($((32 * 1024)))" \
    "$(ratio "$q" 32768)" "<= 1.0"
  if [ -n "$shm_dest" ] &&
    start_box folder-move-away "CommandMode=3\nconfirmmove=0\nMoveDestination=$shm_dest\n"; then
    for round in $(seq "$runs"); do
      in_turn "$round" move_tree_away_by_quorlith move_tree_away_by_mv
    done
    stop_process "$box_pid"
  fi
  q=$(median move-tree-shm) r=$(median move-tree-shm-mv)
  add_row "move that folder to /dev/shm (another file system)" "$q" "mv $r" \
    "$(ratio "$q" "$r")" "<= 1.2"
  # A millisecond each, which the machine's noise moves a lot: four times the rounds.
  if start_box folder-move "CommandMode=3\nconfirmmove=0\nMoveDestination=$work/dest\n"; then
    for round in $(seq $((runs * 4))); do
      in_turn "$round" move_tree_within_by_quorlith move_tiny_by_quorlith
    done
    stop_process "$box_pid"
  fi
  q=$(median move-tree-here) r=$(median move-tiny-here)
  add_row "move that folder within one file system" "$q" "a move of 1 byte $r" \
    "$(ratio "$q" "$r")" "<= 1.1"
  [ -n "$shm_dest" ] && rm -rf "$shm_dest"
}
