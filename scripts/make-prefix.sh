#!/usr/bin/env bash
# Makes the Wine prefix the program is run and tested in: 64-bit Windows 10,
# like the machines Orvane is shipped for. Orvane itself is a 32-bit program
# running in it, as on a real 64-bit Windows, so WMI reports "64-bit".
#   WINEPREFIX=/path scripts/make-prefix.sh
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

mkdir -p "$WINEPREFIX"
# The plain "wine" launcher prefers the 32-bit loader, which can only make a
# 32-bit prefix; the 64-bit loader makes one that runs both.
if [ -x /usr/lib/wine/wine64 ]; then
  WINEARCH=win64 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
else
  wineboot -i >/dev/null 2>&1 || true
fi
# Debian's Wine starts new prefixes as Windows 7.
wine winecfg -v win10 >/dev/null 2>&1 || true
wineserver -w
