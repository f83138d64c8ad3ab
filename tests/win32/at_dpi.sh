#!/usr/bin/env bash
# Runs the Windows shell's DPI tests (the box, the settings window) on a
# screen of another scale: in a Wine prefix of its own (beside the test
# prefix), whose LogPixels is set to the DPI asked for, so the shared prefix
# keeps 96 DPI.
# Usage: at_dpi.sh DPI path/to/quorlith_win32_tests.exe
set -uo pipefail
dpi=$1
tests=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib/utf8-locale.sh"
. "$here/../../scripts/lib/wine-dpi.sh"
wine_dpi_prefix "${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quorlith/wine}" "$dpi" || exit 1

QUORLITH_TEST_DPI=$dpi "$here/../../cmake/wine-run" "$tests" \
  --gtest_filter='Win32Box.TheBoxIsScaled*:Win32Settings.TheWindowIsScaled*' \
  --gtest_color=no
