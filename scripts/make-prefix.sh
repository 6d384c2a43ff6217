#!/usr/bin/env bash
# Makes the Wine prefix the program is run and tested in: 64-bit Windows 10,
# like the machines Orvane is shipped for. Orvane itself is a 32-bit program
# running in it, as on a real 64-bit Windows, so WMI reports "64-bit"; on a
# host that runs no 32-bit programs the tests run a 64-bit build in it.
#   WINEPREFIX=/path scripts/make-prefix.sh
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64

mkdir -p "$WINEPREFIX"
# The plain "wine" launcher prefers the 32-bit loader, which can only make a
# 32-bit prefix; the 64-bit loader makes one that runs both.
if [ -x "$wine64" ]; then
  WINEARCH=win64 WINELOADER="$wine64" "$wine64" wineboot -i >/dev/null 2>&1 || true
else
  wineboot -i >/dev/null 2>&1 || true
fi
# Debian's Wine starts new prefixes as Windows 7. Set Windows 10 with every
# loader that runs here, so that programs of either width read it.
if [ -x "$wine64" ]; then
  WINELOADER="$wine64" "$wine64" winecfg -v win10 >/dev/null 2>&1 || true
fi
if [ -x "$wine32" ] && "$wine32" --version >/dev/null 2>&1; then
  "$wine32" winecfg -v win10 >/dev/null 2>&1 || true
fi
# A crashing program ends with its exception's status, as on a machine with
# nobody at the screen, instead of waiting behind Wine's crash dialog.
if [ -x "$wine64" ]; then
  WINELOADER="$wine64" "$wine64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1 || true
else
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
fi
wineserver -w
