#!/usr/bin/env bash
# Pictures of every state of the result dialog, as PNG files.
#
#   scripts/dialog-screenshots.sh <windows build dir> [dpi]
#
# Runs the dialog's end-to-end tests inside a Wine virtual desktop (so the
# windows get their title bars without a window manager) and converts the
# pictures they leave in <build>/screenshots/ to PNG. With a dpi other than 96
# the prefix's LogPixels is set for the run and put back afterwards.
# Needs a prefix made by scripts/make-prefix.sh (WINEPREFIX, else the build's
# default one), DISPLAY and ImageMagick.
set -euo pipefail

build=$(cd "${1:?windows build directory}" && pwd)
dpi=${2:-96}
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPREFIX="${WINEPREFIX:-${ORVANE_WINEPREFIX:-$HOME/.cache/orvane/wineprefix}}"
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
export ORVANE_EXE="$build/Orvane.exe"
export ORVANE_NO_TABLES_EXE="$build/Orvane_no_tables.exe"
[ -f "$build/TestProduct.exe" ] && export ORVANE_TEST_PRODUCT_EXE="$build/TestProduct.exe"

set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
}

if [ "$dpi" != 96 ]; then
    set_dpi "$dpi"
    trap 'set_dpi 96' EXIT
fi

cd "$build"
rm -rf screenshots
wine explorer /desktop=orvane-shots,1280x1024 orvane_e2e_tests.exe --gtest_filter='E2eDialog*'
for bmp in screenshots/*.bmp; do
    convert "$bmp" "${bmp%.bmp}-${dpi}dpi.png"
    rm "$bmp"
done
ls "$build"/screenshots/*.png
