#!/usr/bin/env bash
# Builds Orvane.exe and runs it under Wine, the way a user on a Japanese
# Windows would: from a folder holding just the executable, so the built-in
# tables are used, with the ja_JP.UTF-8 locale (code page 932).
#   bash scripts/run.sh
# Uses the DISPLAY you have; without one it starts a virtual display, saves a
# screenshot to build/run/screenshot.png and tells you how to take more.
# Environment: WINEPREFIX (default ~/.cache/orvane/wineprefix, kept between
# runs), ORVANE_RUN_SECONDS (end the program after this many seconds),
# ORVANE_RUN_BUILD_DIR (default build/windows).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

BUILD="${ORVANE_RUN_BUILD_DIR:-$ORVANE_ROOT/build/windows}"
RUN_DIR="$ORVANE_ROOT/build/run"
export WINEPREFIX="${WINEPREFIX:-${ORVANE_WINEPREFIX:-$HOME/.cache/orvane/wineprefix}}"

cleanup() {
  orvane_stop_wine
  orvane_stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM

orvane_install_deps

orvane_log "building Orvane.exe (Release, MinGW-w64 i686) in $BUILD"
orvane_cmake_configure "$BUILD" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ORVANE_ROOT/cmake/mingw-w64-i686.cmake"
cmake --build "$BUILD" -j "$(orvane_jobs)" --target Orvane

rm -rf "$RUN_DIR"
mkdir -p "$RUN_DIR"
cp "$BUILD/Orvane.exe" "$RUN_DIR/"

orvane_log "Wine prefix $WINEPREFIX"
orvane_ensure_prefix

headless=0
if [ -z "${DISPLAY:-}" ]; then
  orvane_start_xvfb
  headless=1
  orvane_log "no DISPLAY: started a virtual display $DISPLAY"
  echo "    screenshot: import -window root -display $DISPLAY shot.png"
  echo "    watch it:   x11vnc -display $DISPLAY  (then a VNC viewer), or run this script on a desktop"
fi

orvane_log "running $RUN_DIR/Orvane.exe"
cd "$RUN_DIR"
LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 wine Orvane.exe &
orvane_pid=$!

# Without a screen of yours: a picture of what it shows, after it has settled.
if [ "$headless" -eq 1 ]; then
  for _ in $(seq 1 40); do
    kill -0 "$orvane_pid" 2>/dev/null || break
    sleep 0.5
  done
  if kill -0 "$orvane_pid" 2>/dev/null; then
    import -window root -display "$DISPLAY" "$RUN_DIR/screenshot.png" 2>/dev/null &&
      orvane_log "screenshot saved: $RUN_DIR/screenshot.png"
  fi
fi

seconds="${ORVANE_RUN_SECONDS:-}"
# Nobody can close a dialog on a virtual display from a script without a terminal.
if [ -z "$seconds" ] && [ "$headless" -eq 1 ] && [ ! -t 0 ]; then
  seconds=0
fi
if [ -n "$seconds" ]; then
  sleep "$seconds"
  if kill -0 "$orvane_pid" 2>/dev/null; then
    orvane_log "ending Orvane.exe"
    orvane_stop_wine
  fi
  wait "$orvane_pid" 2>/dev/null || true
  exit 0
fi

if [ "$headless" -eq 1 ]; then
  echo "    Orvane.exe is waiting on $DISPLAY; press Ctrl+C to end it."
fi
status=0
wait "$orvane_pid" || status=$?
orvane_log "Orvane.exe ended ($status)"
exit 0
