#!/usr/bin/env bash
# Pictures of every state of the result dialog, as PNG files, at three
# settings: 96 DPI on 1280x1024, 120 DPI on 1366x768 and 144 DPI on 1920x1080.
#
#   scripts/dialog-screenshots.sh [<windows build dir>] [96|120|144]
#
# Runs the dialog's end-to-end tests inside a Wine virtual desktop of each
# size (so the windows get their title bars without a window manager) and
# converts the pictures they leave in <build>/screenshots/ to PNG, named
# <state>-<dpi>dpi.png. The prefix's LogPixels is set for each run and put back
# afterwards. Without a build directory it builds the tree Wine runs on this
# host (scripts/lib/wine-bits.sh: build/windows, or build/windows64 where the
# host runs no 32-bit programs). Uses the prefix in WINEPREFIX (default
# ~/.cache/orvane/wineprefix, made by scripts/make-prefix.sh when missing),
# and DISPLAY, or a virtual display of its own large enough for 1920x1080.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

orvane_select_wine_bits
if [ "$ORVANE_WINE_BITS" = 64 ]; then
  default_build="$ORVANE_ROOT/build/windows64"
else
  default_build="$ORVANE_ROOT/build/windows"
fi
build="${1:-}"
only="${2:-}"
export WINEPREFIX="${WINEPREFIX:-${ORVANE_WINEPREFIX:-$HOME/.cache/orvane/wineprefix}}"
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8

if [ -z "$build" ]; then
  build="$default_build"
  orvane_log "building the ${ORVANE_WINE_BITS}-bit tree in $build ($ORVANE_WINE_BITS_WHY)"
  orvane_cmake_configure "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$(orvane_toolchain_file "$ORVANE_WINE_BITS")"
  cmake --build "$build" -j "$(orvane_jobs)" --target orvane_e2e_tests
fi
build=$(cd "$build" && pwd)
export ORVANE_EXE="$build/Orvane.exe"
export ORVANE_NO_TABLES_EXE="$build/Orvane_no_tables.exe"
[ -f "$build/TestProduct.exe" ] && export ORVANE_TEST_PRODUCT_EXE="$build/TestProduct.exe"

orvane_ensure_prefix

old_dpi=""
cleanup() {
  if [ -n "$old_dpi" ]; then
    set_dpi "$old_dpi" || true
  else
    orvane_wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  fi
  orvane_stop_wine
  orvane_stop_xvfb
}

set_dpi() {
  orvane_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  # A new DPI takes effect for the programs of the next wineserver session.
  wineserver -w
}

old_dpi=$(orvane_wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels 2>/dev/null | tr -d '\r' |
  awk '/LogPixels/ { print $3 }' || true)
[ -z "$old_dpi" ] || old_dpi=$((old_dpi))  # reg prints 0x78
trap cleanup EXIT
trap 'exit 130' INT TERM

[ -n "${DISPLAY:-}" ] || orvane_start_xvfb 1920x1200

cd "$build"
rm -rf screenshots
shots=()
for setting in 96:1280x1024 120:1366x768 144:1920x1080; do
  dpi=${setting%%:*}
  size=${setting#*:}
  [ -z "$only" ] || [ "$only" = "$dpi" ] || continue
  orvane_log "$dpi DPI on $size"
  set_dpi "$dpi"
  # A failing case still leaves its pictures.
  orvane_wine explorer "/desktop=orvane-shots-$dpi,$size" orvane_e2e_tests.exe --gtest_filter='E2eDialog*' ||
    orvane_log "some dialog tests failed at $dpi DPI"
  wineserver -w
  for bmp in screenshots/*.bmp; do
    [ -e "$bmp" ] || continue
    png="${bmp%.bmp}-${dpi}dpi.png"
    convert "$bmp" "$png"
    rm "$bmp"
    shots+=("$build/$png")
  done
done
printf '%s\n' "${shots[@]}"
