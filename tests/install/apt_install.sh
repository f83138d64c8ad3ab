#!/usr/bin/env bash
# The Debian package as a user meets it: installed with apt into a clean
# Debian 12 root, the installed program started there by an ordinary user on
# the X display of this shell, a file dropped on it from a program outside,
# the clipboard read back, and the settings file and the readme found where
# an installed program keeps them.
#
#   tests/install/apt_install.sh PACKAGE.deb DRAG_SOURCE
#
# The root (debootstrap --variant=minbase bookworm, from the mirror this
# machine's apt uses) is made once and kept in
# ${XDG_CACHE_HOME:-~/.cache}/quorlith/install-root, with the packages apt
# downloads; each run works on a throw-away overlay of it. Making it needs
# root and the network: without them the test says so and is skipped.
set -uo pipefail
[ -f "$1" ] || { echo "FAIL: no package $1"; exit 1; }
deb=$(realpath "$1")
drag_source=$(realpath "$2")
cache=${QUORLITH_INSTALL_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/quorlith/install-root}
base=$cache/debian12
archives=$cache/archives
user_id=4242

skip() {
  echo "SKIPPED: install test: $*"
  exit 0
}
fail() {
  echo "FAIL: $*"
  exit 1
}
pass() { echo "ok: $*"; }

[ "$(id -u)" -eq 0 ] || skip "debootstrap, chroot and mount need root"
command -v debootstrap >/dev/null || skip "debootstrap is not installed (scripts/setup test)"
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY to show the installed program on"

# The first Debian mirror apt is configured with, in either sources format.
mirror() {
  local uri
  uri=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }')
  [ -n "$uri" ] || uri=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '
    /^URIs:/ { uri = $2 }
    /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == "bookworm") { print uri; exit } }')
  echo "${uri:-http://deb.debian.org/debian}"
}

# Made once, under a lock, and only kept when complete.
mkdir -p "$cache" "$archives/partial"
exec 9>"$cache/.lock"
flock 9
if [ ! -f "$base/.complete" ]; then
  echo "Making the Debian 12 root in $base (once) from $(mirror)"
  started=$SECONDS
  rm -rf "$base.new"
  if ! debootstrap --variant=minbase bookworm "$base.new" "$(mirror)" >"$cache/debootstrap.log" 2>&1 ||
    ! chroot "$base.new" apt-get update -qq >>"$cache/debootstrap.log" 2>&1; then
    tail -n 5 "$cache/debootstrap.log"
    rm -rf "$base.new"
    skip "the Debian 12 root could not be made (no network?); see $cache/debootstrap.log"
  fi
  # debootstrap's own downloads are not needed again.
  rm -f "$base.new"/var/cache/apt/archives/*.deb
  rm -rf "$base"
  touch "$base.new/.complete"
  mv "$base.new" "$base"
  echo "Made the root in $((SECONDS - started)) s"
fi
flock -u 9

# A throw-away root over the kept one: an overlay, or else a copy.
work=$(mktemp -d /tmp/quorlith-install.XXXXXX)
root=$work/root
mounts=()
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}"
  done
  rm -rf "$work"
}
trap cleanup EXIT
mount_on() { # mount arguments..., target last
  mount "$@" && mounts+=("${!#}")
}
mkdir -p "$root" "$work/upper" "$work/over"
if ! mount_on -t overlay overlay \
  -o "lowerdir=$base,upperdir=$work/upper,workdir=$work/over" "$root" 2>/dev/null; then
  rmdir "$root"
  cp -a "$base" "$root"
fi
mount_on -t proc proc "$root/proc"
mount_on --bind /dev "$root/dev"
mkdir -p "$root/tmp/.X11-unix"
mount_on --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mount_on --bind "$archives" "$root/var/cache/apt/archives"
in_root() {
  chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    DEBIAN_FRONTEND=noninteractive "$@"
}

# apt install ./quorlith_*.deb, as a user would (without the recommended
# packages, so the package's own dependencies must be enough). A download
# that fails for want of a network skips the test; anything else fails it.
name=$(basename "$deb")
cp "$deb" "$root/tmp/$name"
install_started=$SECONDS
# (dpkg skips its fsync calls: the root is thrown away after the test.)
apt_install() {
  in_root sh -c "cd /tmp && apt-get install -y -qq --no-install-recommends \
    -o Dpkg::Options::=--force-unsafe-io $* ./$name" >"$work/apt.log" 2>&1
}
if ! apt_install --download-only; then
  in_root apt-get update -qq >/dev/null 2>&1
  if ! apt_install --download-only; then
    cat "$work/apt.log"
    grep -qE "Failed to fetch|Temporary failure|Could not resolve" "$work/apt.log" &&
      skip "the package's dependencies could not be downloaded (no network?)"
    fail "apt cannot install $name"
  fi
fi
apt_install || { cat "$work/apt.log"; fail "apt install ./$name failed"; }
pass "apt installed $name and $(grep -c '^Setting up' "$work/apt.log") packages" \
  "($((SECONDS - install_started)) s)"
[ "$(in_root quorlith --version)" = "Quorlith version 1.1" ] || fail "quorlith --version"

# A stand-in for the desktop's opener that writes down what it was given.
cat >"$root/usr/local/bin/xdg-open" <<'SCRIPT'
#!/bin/sh
echo "$1" >>/tmp/opened
SCRIPT
chmod 755 "$root/usr/local/bin/xdg-open"
in_root useradd -m -u "$user_id" tester || fail "useradd"
printf 'dropped\n' >"$root/home/tester/drop me.txt"

# start_box UID HOME: the installed program, started from the user's home;
# waits for its box and sets box to its window id.
start_box() {
  chroot --userspec="$1:$1" "$root" env -i HOME="$2" PATH=/usr/local/bin:/usr/bin:/bin \
    DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="/tmp/runtime-$1" \
    sh -c "mkdir -p -m 700 /tmp/runtime-$1 && cd $2 && exec quorlith" \
    >/dev/null 2>>"$work/program.log" &
  pids+=($!)
  box=
  for _ in $(seq 100); do
    box=$(xdotool search --pid "$!" --name '^Quorlithdropbox$' 2>/dev/null | head -1)
    [ -n "$box" ] && return 0
    sleep 0.1
  done
  cat "$work/program.log"
  return 1
}

# Root runs the installed program: its settings still go to root's own folder.
start_box 0 /root || fail "the installed program shows no box (as root)"
[ -f "$root/root/.config/quorlith/Quorlith.ini" ] || fail "root's settings file is missing"
[ ! -e "$root/usr/bin/Quorlith.ini" ] || fail "a settings file was written into /usr/bin"
kill "${pids[@]}"
wait "${pids[@]}" 2>/dev/null
pids=()
pass "run by root, it keeps its settings in /root/.config/quorlith"

start_box "$user_id" /home/tester || fail "the installed program shows no box"
[ -f "$root/home/tester/.config/quorlith/Quorlith.ini" ] ||
  fail "no settings file in ~/.config/quorlith"
pass "the box is up, its settings in ~/.config/quorlith/Quorlith.ini"

# A drop from a program outside the root, by the pointer; the box stands at
# its first-run place, (244, 200), 75 x 75.
"$drag_source" 500 100 "/home/tester/drop me.txt" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xdotool search --name '^quorlith drag source$' >/dev/null 2>&1 && break
  sleep 0.1
done
moves=()
for i in $(seq 16); do
  moves+=(mousemove $((560 + (281 - 560) * i / 16)) $((160 + (237 - 160) * i / 16)) sleep 0.05)
done
xdotool mousemove 560 160 sleep 0.2 mousedown 1 sleep 0.3 "${moves[@]}" sleep 0.3 mouseup 1
clipboard=
for _ in $(seq 80); do
  clipboard=$(xclip -o -selection clipboard 2>/dev/null)
  [ "$clipboard" = "/home/tester/drop me.txt" ] && break
  sleep 0.1
done
[ "$clipboard" = "/home/tester/drop me.txt" ] || fail "the clipboard holds '$clipboard'"
pass "a dropped file's path is on the clipboard"

# menu_item DOWNS: right-click the box, go down to an item and choose it.
menu_item() {
  local keys=()
  for _ in $(seq "$1"); do keys+=(Down); done
  xdotool mousemove 281 237 sleep 0.2 click 3 sleep 0.5 key "${keys[@]}" Return
}
menu_item 5 # Open ReadMe File
menu_item 2 # Open Settings
want="file:///usr/share/doc/quorlith/Quorlith.txt
file:///home/tester/.config/quorlith/Quorlith.ini"
for _ in $(seq 50); do
  [ "$(cat "$root/tmp/opened" 2>/dev/null)" = "$want" ] && break
  sleep 0.1
done
[ "$(cat "$root/tmp/opened" 2>/dev/null)" = "$want" ] ||
  fail "the opener got '$(cat "$root/tmp/opened" 2>/dev/null)'"
pass "Open ReadMe File and Open Settings open the installed readme and the user's settings"
