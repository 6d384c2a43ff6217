#!/usr/bin/env bash
# Pictures of every state of the result dialog, as PNG files, at three
# settings: 96 DPI on 1280x1024, 120 DPI on 1366x768 and 144 DPI on 1920x1080;
# and of the states with and without advice at 96 and 144 DPI on 1366x768
# too (<state>-<dpi>dpi-1366x768.png), the small screen the dialog must fit.
#
#   scripts/dialog-screenshots.sh [<windows build dir>] [96|120|144]
#
# Runs the dialog's end-to-end tests inside a Wine virtual desktop of each
# size (so the windows get their title bars without a window manager) and
# converts the pictures they leave in <build>/screenshots/ to PNG, named
# <state>-<dpi>dpi.png. The prefix's LogPixels is set for each run and put back
# afterwards. The small-screen case makes a virtual desktop of its own, at 120
# DPI, so it runs once, on the display itself. Fails when a picture is blank:
# almost every pixel one colour, or little of the dialog's background colour. Without a build directory it builds the tree Wine runs on this
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
orvane_use_default_prefix
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
[ -d "$build/e2e-full-desktop" ] && export ORVANE_FULL_DESKTOP="$build/e2e-full-desktop"

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

# "#F5F5F5": the dialogs' background colour in this prefix.
face=$(orvane_wine reg query 'HKCU\Control Panel\Colors' /v ButtonFace 2>/dev/null | tr -d '\r' |
  awk '/ButtonFace/ { printf "#%02X%02X%02X", $3, $4, $5 }')
face=${face:-#F0F0F0}

# Says why a picture of a window is blank, or nothing: one colour on almost
# every pixel, or too little of the dialog's background in the window's rectangle.
blank_because() {
  convert "$1" -format %c histogram:info:- | awk -v face="$face" '
    { n = $1 + 0; total += n; if (n > top) top = n; if (index($0, face)) faced += n }
    END {
      if (total == 0) print "no pixels"
      else if (top / total >= 0.98) printf "one colour on %d%% of the pixels\n", 100 * top / total
      else if (faced / total < 0.25) printf "only %d%% of the dialog background %s\n", 100 * faced / total, face
    }'
}

shots=()
blank=0
# Turns the pictures of one run into PNG files named for the DPI (and the
# screen, when given), and checks them.
collect() {
  local dpi="$1" screen="${2:-}" bmp png why
  wineserver -w
  for bmp in screenshots/*.bmp; do
    [ -e "$bmp" ] || continue
    png="${bmp%.bmp}-${dpi}dpi${screen:+-$screen}.png"
    convert "$bmp" "$png"
    rm "$bmp"
    shots+=("$build/$png")
    why=$(blank_because "$png")
    if [ -n "$why" ]; then
      echo "blank picture $build/$png: $why" >&2
      blank=1
    fi
  done
}

cd "$build"
rm -rf screenshots
small_screen='E2eDialog.At120DpiOnA1366x768Screen*'
for setting in 96:1280x1024 120:1366x768 144:1920x1080; do
  dpi=${setting%%:*}
  size=${setting#*:}
  [ -z "$only" ] || [ "$only" = "$dpi" ] || continue
  orvane_log "$dpi DPI on $size"
  set_dpi "$dpi"
  # A failing case still leaves its pictures.
  orvane_wine explorer "/desktop=orvane-shots-$dpi,$size" orvane_e2e_tests.exe --gtest_filter="E2eDialog*:-$small_screen" ||
    orvane_log "some dialog tests failed at $dpi DPI"
  collect "$dpi"
done
# The advice, and its absence, on the small screen at the other two DPIs.
advice_states='E2eDialog.FailingRun*:E2eDialog.ShortfallWithoutAKnownCause*'
for dpi in 96 144; do
  [ -z "$only" ] || [ "$only" = "$dpi" ] || continue
  orvane_log "$dpi DPI on 1366x768: with and without advice"
  set_dpi "$dpi"
  orvane_wine explorer "/desktop=orvane-shots-$dpi-small,1366x768" orvane_e2e_tests.exe --gtest_filter="$advice_states" ||
    orvane_log "some advice tests failed at $dpi DPI on 1366x768"
  collect "$dpi" 1366x768
done
# Inside the desktop above, its own would take that one's size and stay off screen.
if [ -z "$only" ] || [ "$only" = 120 ]; then
  orvane_log "the small screen: 120 DPI on 1366x768"
  set_dpi 96
  orvane_wine orvane_e2e_tests.exe --gtest_filter="$small_screen" || orvane_log "the small-screen test failed"
  collect 120
fi
printf '%s\n' "${shots[@]}"
[ "$blank" -eq 0 ]
