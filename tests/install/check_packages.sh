#!/usr/bin/env bash
# Checks what scripts/package made: lintian finds no error in the Debian
# package, its desktop entry and catalogue entry are valid, it holds what a
# desktop needs, each zip holds just its Windows program and the readme, the
# setup is a 32-bit NSIS setup, and the scoop and winget manifests follow
# their published schemas and carry the hashes of these files.
#
#   tests/install/check_packages.sh build/packages
set -uo pipefail
packages=$(realpath "$1")
work=$(mktemp -d /tmp/quorlith-packages.XXXXXX)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

deb=$(ls "$packages"/quorlith_*_amd64.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: no .deb in $packages"; exit 1; }

# Errors fail; warnings and notes are shown, with a count of each kind.
lintian --info --fail-on error "$deb" >"$work/lintian" 2>&1 || fail "lintian reports errors"
cat "$work/lintian"
echo "lintian: $(grep -c '^E:' "$work/lintian") errors, $(grep -c '^W:' "$work/lintian")" \
  "warnings, $(grep -c '^I:' "$work/lintian") notes"

dpkg-deb -x "$deb" "$work/deb"
desktop-file-validate "$work/deb/usr/share/applications/org.quorlith.Quorlith.desktop" ||
  fail "the desktop entry is not valid"
appstreamcli validate --no-net --explain \
  "$work/deb/usr/share/metainfo/org.quorlith.Quorlith.metainfo.xml" >"$work/appstream" 2>&1 ||
  { cat "$work/appstream"; fail "the metainfo is not valid"; }
for file in usr/bin/quorlith usr/share/doc/quorlith/Quorlith.txt usr/share/man/man1/quorlith.1.gz \
  usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/quorlith.png; do
  [ -s "$work/deb/$file" ] || fail "the package has no /$file"
done
for size in 16 22 24 32 48 64 128 256; do
  file "$work/deb/usr/share/icons/hicolor/${size}x${size}/apps/quorlith.png" |
    grep -q "PNG image data, $size x $size," || fail "the ${size}x${size} icon has another size"
done
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "no dependency on Qt Widgets"

for bits in 32 64; do
  zip=$(ls "$packages"/Quorlith-*-win$bits.zip 2>/dev/null | head -1)
  [ -n "$zip" ] || { fail "no win$bits zip"; continue; }
  folder=$(basename "$zip" .zip)
  contents=$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')
  [ "$contents" = "$folder/Quorlith.exe $folder/Quorlith.txt " ] ||
    fail "$(basename "$zip") holds: $contents"
  mkdir -p "$work/win$bits" && (cd "$work/win$bits" && cmake -E tar xf "$zip")
  kind=$([ "$bits" = 32 ] && echo "PE32 executable" || echo "PE32+ executable")
  file "$work/win$bits/$folder/Quorlith.exe" | grep -q "$kind (GUI)" ||
    fail "$(basename "$zip"): Quorlith.exe is not a $bits-bit Windows program"
done

setup=$(ls "$packages"/Quorlith-*-setup.exe 2>/dev/null | head -1)
if [ -z "$setup" ]; then
  fail "no Windows setup"
else
  # 32-bit, so that it runs on every Windows; it installs the program that fits.
  file "$setup" | grep -q "PE32 executable (GUI) Intel 80386.*Nullsoft Installer" ||
    fail "$(basename "$setup") is not a 32-bit NSIS setup: $(file -b "$setup")"
fi
python3 "$(dirname "$0")/check_manifests.py" "$packages" || fail "the manifests"

[ "$failed" -eq 0 ] && echo "ok: the packages hold what they should"
exit "$failed"
