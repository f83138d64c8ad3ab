# A Wine prefix whose screen has another scale: "<prefix>-dpi<DPI>" beside
# the prefix given, its LogPixels set to the DPI, made once. Source this file,
# then call: wine_dpi_prefix BASE_PREFIX DPI; it exports WINEPREFIX.
wine_dpi_prefix() {
  local base=$1 dpi=$2
  export WINEPREFIX="$base-dpi$dpi"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  # Wine's own tools on its 64-bit loader, which every x86-64 host runs.
  local tools=/usr/lib/wine/wine64
  [ -x "$tools" ] || tools=wine
  [ -f "$WINEPREFIX/.quorlith-dpi" ] && return 0
  mkdir -p "$WINEPREFIX"
  "$tools" wineboot --init >/dev/null 2>&1
  if ! "$tools" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1; then
    echo "could not set LogPixels in $WINEPREFIX" >&2
    return 1
  fi
  # The DPI is read when the Wine server starts.
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  touch "$WINEPREFIX/.quorlith-dpi"
}
