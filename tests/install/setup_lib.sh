# Steps the Windows setup's test shares: a fresh Wine prefix, the registry
# read with Wine's reg, the user's folders, waits and verdicts. Sourced by
# tests/install/windows_setup.sh.

failed=0
failures=0
fail() {
  echo "FAIL: $*"
  failed=1
  failures=$((failures + 1))
}
# A part of the test: part_passed says ok when nothing failed since it began.
part_failures=0
part() { part_failures=$failures; }
part_passed() { [ "$failures" = "$part_failures" ] && echo "ok: $*"; }

# Runs a command every 0.2 s until it succeeds; false after $1 seconds.
wait_until() {
  local tries=$(($1 * 5))
  shift
  until "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -le 0 ] && return 1
    sleep 0.2
  done
}

# use_prefix PATH LOADER: the prefix and the Wine loader (wine64, or the
# 32-bit wine for a 32-bit prefix) the steps below work with.
use_prefix() {
  export WINEPREFIX=$1
  loader=$2
  user_home="$WINEPREFIX/drive_c/users/$(id -un)"
  windows_home="C:\\users\\$(id -un)"
}

# fresh_prefix ARCH: makes the prefix anew (win64 or win32). Its user folders
# become folders of their own, where Wine would link them to the real home
# (a desktop shortcut would land there), and its windows stay unmanaged, as
# in every Windows test.
fresh_prefix() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  WINEARCH=$1 "$loader" wineboot --init >/dev/null 2>&1
  wineserver -w
  local folder
  for folder in Desktop Documents Downloads Music Pictures Videos; do
    if [ -L "$user_home/$folder" ]; then
      rm "$user_home/$folder" && mkdir "$user_home/$folder"
    fi
  done
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  [ -d "$user_home/AppData" ]
}

# reg_value KEY NAME: the data of a registry value, as reg query shows it;
# false when there is none.
reg_value() {
  local line
  line=$("$loader" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -E "^ +$2 +REG_") ||
    return 1
  sed -E "s/^ +$2 +REG_[A-Z_]+ +//" <<<"$line"
}

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorlith'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# The Unix path of a Windows one.
unix_path() { "$loader" winepath -u "$1" 2>/dev/null | tr -d '\r'; }

# shortcut_to LNK EXE: the shortcut names the program (as its Windows path)
# and that path leads to the program's file.
shortcut_to() {
  [ -f "$1" ] && strings -a "$1" | grep -qFx "$2" && [ -f "$(unix_path "$2")" ]
}

# The process of a box on the display that runs the program at Windows path
# $1 (Wine names a process by its program's path); empty when none.
box_pid() {
  local window pid
  for window in $(xdotool search --name '^Quorlithdropbox$' 2>/dev/null); do
    pid=$(xdotool getwindowpid "$window" 2>/dev/null) || continue
    tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -1 | grep -qixF "$1" && echo "$pid"
  done | head -1
}
box_runs() { [ -n "$(box_pid "$1")" ]; }

# The lines the setup and the uninstaller logged (UTF-16) into $1.
log_of() { iconv -f UTF-16 -t UTF-8 "$1" 2>/dev/null | tr -d '\r'; }

# The PE machine the file is for: "PE32+" (64-bit) or "PE32" (32-bit).
pe_kind() { file -b "$1" | grep -oE '^PE32\+?'; }
