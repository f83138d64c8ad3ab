#!/usr/bin/env bash
# The Windows setup as a user meets it, under Wine in a fresh prefix, judged by
# the files, the shortcuts and the registry it leaves (never by an exit code
# alone): a silent install with every extra, the box started from the Start
# menu, an upgrade while it runs that keeps a changed Quorlith.ini and the
# choices made, bad input (a second setup at once, a folder that cannot be
# written, a bad switch), a silent uninstall through the uninstall entry, and
# an uninstall whose folder is already gone.
#
#   tests/install/windows_setup.sh PACKAGES PROGRAM64
#
# The setup's logic runs on every host as the same script built for amd64
# with the 64-bit PROGRAM64. Where the host runs 32-bit programs, the
# published setup of PACKAGES runs too: on 64-bit Windows it installs the
# 64-bit program, on 32-bit Windows (a 32-bit prefix) the 32-bit one.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib/utf8-locale.sh"
. "$root/scripts/lib/make-setup.sh"
. "$root/tests/install/setup_lib.sh"
packages=$(realpath "$1")
program64=$(realpath "$2")
published=$(ls "$packages"/Quorlith-*-setup.exe 2>/dev/null | head -1)
[ -n "$published" ] || { echo "FAIL: no setup in $packages"; exit 1; }
prefixes=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quorlith/wine-test}-setup
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
work=$(mktemp -d /tmp/quorlith-setup.XXXXXX)
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  for prefix in "$prefixes"-64 "$prefixes"-32; do WINEPREFIX=$prefix wineserver -k 2>/dev/null; done
  rm -rf "$work" "$prefixes"-64 "$prefixes"-32
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  . "$root/scripts/lib/virtual-display.sh"
  start_virtual_display || exit 1
fi

setup64=$work/setup-amd64.exe
make_setup "$setup64" amd64-unicode "$program64" || { echo "FAIL: makensis"; exit 1; }
log=$work/setup.log
windows_log="Z:${log//\//\\}"

use_prefix "$prefixes-64" /usr/lib/wine/wine64
fresh_prefix win64 || { echo "FAIL: no Wine prefix"; exit 1; }
folder="$user_home/AppData/Local/Programs/Quorlith"
windows_folder="$windows_home\\AppData\\Local\\Programs\\Quorlith"
exe="$windows_folder\\Quorlith.exe"
start_menu="$user_home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quorlith.lnk"
send_to="$user_home/AppData/Roaming/Microsoft/Windows/SendTo/Quorlith.lnk"
desktop="$user_home/Desktop/Quorlith.lnk"

# A silent first install with every extra.
part
"$loader" "$setup64" /S /SENDTO=1 /STARTUP=1 /DESKTOP=1 /LOG="$windows_log"
rc=$?
[ "$rc" = 0 ] || fail "the silent install ended with $rc"
[ "$(pe_kind "$folder/Quorlith.exe")" = PE32+ ] || fail "no 64-bit Quorlith.exe in $folder"
cmp -s "$folder/Quorlith.txt" "$root/resources/Quorlith.txt" || fail "no Quorlith.txt beside it"
[ -f "$folder/Uninstall.exe" ] || fail "no uninstaller"
[ ! -e "$folder/Quorlith.ini" ] || fail "the setup wrote a settings file"
for lnk in "$start_menu" "$send_to" "$desktop"; do
  shortcut_to "$lnk" "$exe" || fail "$lnk does not lead to $exe"
done
[ "$(reg_value "$run_key" Quorlith)" = "\"$exe\"" ] || fail "the Run value is not \"$exe\""
for value in DisplayName=Quorlith DisplayVersion=1.1 "DisplayIcon=$exe,0" \
  "Publisher=The Quorlith developers" "InstallLocation=$windows_folder" \
  "UninstallString=\"$windows_folder\\Uninstall.exe\"" \
  "QuietUninstallString=\"$windows_folder\\Uninstall.exe\" /S" NoModify=0x1 NoRepair=0x1; do
  [ "$(reg_value "$uninstall_key" "${value%%=*}")" = "${value#*=}" ] ||
    fail "the uninstall entry's ${value%%=*} is '$(reg_value "$uninstall_key" "${value%%=*}")'"
done
size=$(reg_value "$uninstall_key" EstimatedSize)
[ $((size)) -ge 300 ] 2>/dev/null || fail "the uninstall entry's EstimatedSize is '$size' KiB"
part_passed "a silent install gives the program, the readme, the shortcuts, the Run value" \
  "and the uninstall entry"

# Started from the Start menu, as a user would: the box shows and writes its
# first-run settings beside itself. The user then changes one by hand.
part
"$loader" start "$windows_home\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Quorlith.lnk"
wait_until 30 box_runs "$exe" || fail "the installed program shows no box"
wait_until 10 test -s "$folder/Quorlith.ini" || fail "the box wrote no Quorlith.ini beside itself"
first_box=$(box_pid "$exe")
sed -i 's/^pathaction=1\r$/pathaction=5\r/' "$folder/Quorlith.ini"
grep -q '^pathaction=5' "$folder/Quorlith.ini" || fail "the settings file could not be changed"
part_passed "the installed program starts from the Start menu and shows the box"

# An upgrade while the box runs, after the user took the desktop shortcut away:
# the box is ended (its place saved) and started again, the settings and the
# choices stay.
part
rm -f "$desktop"
: >"$log"
"$loader" "$setup64" /S /LOG="$windows_log"
rc=$?
[ "$rc" = 0 ] || fail "the upgrade ended with $rc"
log_of "$log" | grep -q "ending the box" || fail "the upgrade did not end the running box"
wait_until 10 test ! -e "/proc/$first_box" || fail "the box of before the upgrade still runs"
wait_until 20 box_runs "$exe" || fail "the box was not started again after the upgrade"
grep -q '^pathaction=5' "$folder/Quorlith.ini" && grep -q '^MoveDestination=' "$folder/Quorlith.ini" ||
  fail "the upgrade did not keep Quorlith.ini whole: $(cat -A "$folder/Quorlith.ini")"
[ -f "$send_to" ] && [ ! -e "$desktop" ] && reg_value "$run_key" Quorlith >/dev/null ||
  fail "the upgrade did not keep the choices (Send To, no desktop shortcut, Run)"
part_passed "an upgrade ends the running box, starts it again, keeps Quorlith.ini" \
  "and the choices"
cp "$folder/Quorlith.ini" "$work/settings-before"

# Bad input: nothing of the user's changes, the log says why.
expect_refusal() { # CODE WHAT LOG-TEXT ARGUMENTS...
  local code=$1 what=$2 text=$3
  shift 3
  part
  : >"$log"
  "$loader" "$setup64" /S /LOG="$windows_log" "$@"
  local rc=$?
  [ "$rc" = "$code" ] || fail "$what: exit code $rc, not $code"
  log_of "$log" | grep -qF "$text" || fail "$what: the log says: $(log_of "$log")"
  cmp -s "$folder/Quorlith.ini" "$work/settings-before" || fail "$what: Quorlith.ini changed"
  part_passed "$what: exit code $code, logged: $text"
}
"$loader" "$setup64" /LOG="$windows_log" >/dev/null 2>&1 &
started+=($!)
wait_until 30 xdotool search --name '^Quorlith Setup' || fail "the setup shows no window"
expect_refusal 2 "a second setup at once" "is already running"
kill "${started[-1]}" 2>/dev/null
wait_until 20 bash -c "! xdotool search --name '^Quorlith Setup'"
printf "a file" >"$user_home/afile"
expect_refusal 3 "a folder below a file" "cannot be made there" /D="$windows_home\\afile\\Quorlith"
[ -f "$user_home/afile" ] || fail "the file in the folder's way was touched"
expect_refusal 3 "a folder that cannot be written" "cannot be written" /D='Z:\proc\Quorlith'
expect_refusal 5 "a bad switch" "takes 0 or 1" /DESKTOP=maybe
box_runs "$exe" || fail "a refused setup ended the box"

# The silent uninstall, as the uninstall entry says it, while the box runs.
part
quiet=$(reg_value "$uninstall_key" QuietUninstallString)
uninstaller=${quiet#\"}
uninstaller=${uninstaller%%\"*}
: >"$log"
"$loader" "$uninstaller" ${quiet##*\" } /LOG="$windows_log"
# The uninstaller runs on from a copy of itself; it is done when its key is.
wait_until 60 bash -c "! WINEPREFIX='$WINEPREFIX' '$loader' reg query '$uninstall_key'" ||
  fail "the uninstall entry stays"
wait_until 20 test ! -e "$folder/Uninstall.exe"
wait_until 10 eval '! box_runs "$exe"' || fail "the box still runs after the uninstall"
[ "$(ls -A "$folder")" = Quorlith.ini ] || fail "the uninstall left: $(ls -A "$folder")"
cmp -s "$folder/Quorlith.ini" "$work/settings-before" || fail "the uninstall changed Quorlith.ini"
for lnk in "$start_menu" "$send_to" "$desktop"; do [ ! -e "$lnk" ] || fail "$lnk stays"; done
reg_value "$run_key" Quorlith >/dev/null && fail "the Run value stays"
log_of "$log" | grep -q "ending the box" || fail "the uninstall did not end the box: $(log_of "$log")"
part_passed "a silent uninstall ends the box and removes all but Quorlith.ini"

# An uninstall whose folder is already gone: what is left elsewhere goes,
# the settings in %APPDATA%\Quorlith stay.
part
other="$windows_home\\Other\\Quorlith"
"$loader" "$setup64" /S /STARTUP=1 /D="$other"
settings="$user_home/AppData/Roaming/Quorlith/Quorlith.ini"
mkdir -p "$(dirname "$settings")"
printf '[Coordinates]\r\nx=300\r\n' >"$settings"
cp "$(unix_path "$other\\Uninstall.exe")" "$work/Uninstall.exe"
rm -rf "$(unix_path "$other")"
: >"$log"
"$loader" "$work/Uninstall.exe" /S /LOG="$windows_log" _?="$other"
rc=$?
[ "$rc" = 0 ] || fail "the uninstall of a folder already gone ended with $rc"
log_of "$log" | grep -q "is already gone" || fail "the log does not say the folder was gone"
reg_value "$uninstall_key" DisplayName >/dev/null && fail "the uninstall entry stays"
reg_value "$run_key" Quorlith >/dev/null && fail "the Run value stays"
[ ! -e "$start_menu" ] || fail "the Start menu shortcut stays"
[ "$(cat "$settings")" = $'[Coordinates]\r\nx=300\r' ] || fail "the settings in %APPDATA% changed"
part_passed "an uninstall whose folder is gone removes the rest and keeps the settings"

# The published setup, where this host runs 32-bit programs.
part
if "$root/cmake/wine-run" --can-run-32bit; then
  "/usr/lib/wine/wine" "$published" /S
  [ "$(pe_kind "$folder/Quorlith.exe")" = PE32+ ] ||
    fail "the published setup installed no 64-bit program on 64-bit Windows"
  [ "$(reg_value "$uninstall_key" DisplayVersion)" = 1.1 ] || fail "no uninstall entry"
  wineserver -k
  use_prefix "$prefixes-32" /usr/lib/wine/wine
  folder="$user_home/AppData/Local/Programs/Quorlith"
  fresh_prefix win32 || fail "no 32-bit Wine prefix"
  "$loader" "$published" /S /DESKTOP=1
  [ "$(pe_kind "$folder/Quorlith.exe")" = PE32 ] ||
    fail "the published setup installed no 32-bit program on 32-bit Windows"
  shortcut_to "$user_home/Desktop/Quorlith.lnk" "$exe" || fail "no desktop shortcut on 32-bit Windows"
  "$loader" "$folder/Uninstall.exe" /S _?="$windows_folder"
  [ ! -e "$folder/Quorlith.exe" ] && ! reg_value "$uninstall_key" DisplayName >/dev/null ||
    fail "the uninstall on 32-bit Windows left the program or its entry"
  part_passed "the published setup installs the 64-bit program on 64-bit Windows and" \
    "the 32-bit one on 32-bit Windows"
else
  echo "skip: the published (32-bit) setup: this host cannot run 32-bit programs"
fi

[ "$failed" = 0 ] && echo "ok: the Windows setup and its uninstaller"
exit "$failed"
