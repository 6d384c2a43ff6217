#!/usr/bin/env bash
# Builds Orvane.exe and runs it under Wine, the way a user on a Japanese
# Windows would: from a folder holding just the executable, so the built-in
# tables are used, with the ja_JP.UTF-8 locale (code page 932).
#   bash scripts/run.sh
# Uses the DISPLAY you have; without one it starts a virtual display, saves a
# screenshot to build/run/screenshot.png and tells you how to take more.
# On a host that runs no 32-bit programs it builds and runs the 64-bit build of
# the same sources instead, and says so (ORVANE_WINE_BITS=32 or 64 forces one).
# Exits non-zero when Orvane could not be started at all.
# Environment: WINEPREFIX (default ~/.cache/orvane/wineprefix, kept between
# runs), ORVANE_RUN_SECONDS (end the program after this many seconds),
# ORVANE_RUN_BUILD_DIR (default build/windows, or build/windows64).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

orvane_select_wine_bits
if [ "$ORVANE_WINE_BITS" = 64 ]; then
  BUILD="${ORVANE_RUN_BUILD_DIR:-$ORVANE_ROOT/build/windows64}"
  ARCH=x86_64
else
  BUILD="${ORVANE_RUN_BUILD_DIR:-$ORVANE_ROOT/build/windows}"
  ARCH=i686
fi
RUN_DIR="$ORVANE_ROOT/build/run"
orvane_use_default_prefix

orvane_pid=""

# Ends Wine. wineserver -k kills it with SIGKILL, which a non-interactive bash
# reports as "Killed" ("強制終了") once it collects the job; that end is our own
# doing, so the job is collected here with the report silenced.
end_wine() {
  {
    orvane_stop_wine
    [ -z "$orvane_pid" ] || wait "$orvane_pid"
  } 2>/dev/null || true
}

cleanup() {
  end_wine
  orvane_stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM

orvane_install_deps

orvane_log "building Orvane.exe (Release, MinGW-w64 $ARCH) in $BUILD"
orvane_cmake_configure "$BUILD" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$(orvane_toolchain_file "$ORVANE_WINE_BITS")"
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

orvane_log "running $RUN_DIR/Orvane.exe, the ${ORVANE_WINE_BITS}-bit build ($ORVANE_WINE_BITS_WHY)"
cd "$RUN_DIR"
orvane_wine_command
LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 "${ORVANE_WINE_COMMAND[@]}" Orvane.exe &
orvane_pid=$!

# One of Orvane's windows (the dialog or a message box, both captioned
# "Orvane") is on the display.
orvane_window_shown() {
  xwininfo -root -tree -display "$DISPLAY" 2>/dev/null | grep -q '"Orvane"'
}

# Waits until Orvane shows a window or ends. A program that ended with an
# error before showing anything never started: the loader could not run, or
# Wine failed.
started=0
for _ in $(seq 1 60); do
  if orvane_window_shown; then
    started=1
    break
  fi
  if ! kill -0 "$orvane_pid" 2>/dev/null; then
    status=0
    wait "$orvane_pid" || status=$?
    if [ "$status" -ne 0 ]; then
      echo "run: Orvane.exe could not be started: Wine ended with status $status" >&2
      echo "     the ${ORVANE_WINE_BITS}-bit build was tried ($ORVANE_WINE_BITS_WHY);" \
        "ORVANE_WINE_BITS=$((96 - ORVANE_WINE_BITS)) tries the other one" >&2
      exit 1
    fi
    # It ended by itself after a normal run: the product was started.
    orvane_log "Orvane.exe ended without a window (the product was started)"
    exit 0
  fi
  sleep 0.5
done
if [ "$started" -eq 0 ]; then
  echo "run: Orvane.exe showed no window within 30 seconds" >&2
  exit 1
fi
# Let it finish drawing.
sleep 1

# Without a screen of yours: a picture of what it shows.
if [ "$headless" -eq 1 ]; then
  import -window root -display "$DISPLAY" "$RUN_DIR/screenshot.png" 2>/dev/null &&
    orvane_log "screenshot saved: $RUN_DIR/screenshot.png"
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
  fi
  end_wine
  orvane_log "Orvane.exe ended"
  exit 0
fi

if [ "$headless" -eq 1 ]; then
  echo "    Orvane.exe is waiting on $DISPLAY; press Ctrl+C to end it."
fi
status=0
wait "$orvane_pid" || status=$?
orvane_log "Orvane.exe ended ($status)"
exit 0
