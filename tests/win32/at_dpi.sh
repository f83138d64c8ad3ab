#!/usr/bin/env bash
# Runs the Windows shell's DPI test on a screen of another scale: in a Wine
# prefix of its own (beside the test prefix), whose LogPixels is set to the
# DPI asked for, so the shared prefix keeps 96 DPI.
# Usage: at_dpi.sh DPI path/to/quorlith_win32_tests.exe
set -uo pipefail
dpi=$1
tests=$2
here=$(cd "$(dirname "$0")" && pwd)
base="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quorlith/wine}"
export WINEPREFIX="$base-dpi$dpi"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
. "$here/../../scripts/lib/utf8-locale.sh"
# Wine's own tools on its 64-bit loader, which every x86-64 host runs.
tools=/usr/lib/wine/wine64
[ -x "$tools" ] || tools=wine

if [ ! -f "$WINEPREFIX/.quorlith-dpi" ]; then
  mkdir -p "$WINEPREFIX"
  "$tools" wineboot --init >/dev/null 2>&1
  if ! "$tools" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1; then
    echo "could not set LogPixels in $WINEPREFIX" >&2
    exit 1
  fi
  # The DPI is read when the Wine server starts.
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  touch "$WINEPREFIX/.quorlith-dpi"
fi

QUORLITH_TEST_DPI=$dpi "$here/../../cmake/wine-run" "$tests" --gtest_filter='Win32Box.TheBoxIsScaled*' \
  --gtest_color=no
