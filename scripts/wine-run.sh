#!/usr/bin/env bash
# Runs a Windows program under Wine: the cross build's test launcher, and the
# way to start any of its programs by hand.
#   scripts/wine-run.sh build/windows/Orvane.exe
# WINEPREFIX may be set by the caller (the test script makes a fresh one per
# run); otherwise ORVANE_WINEPREFIX, otherwise a prefix kept in ~/.cache.
# A prefix that does not exist yet is made first.
set -euo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPREFIX="${WINEPREFIX:-${ORVANE_WINEPREFIX:-$HOME/.cache/orvane/wineprefix}}"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Two tests may start at once; only one of them makes the prefix.
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$(dirname "$0")/make-prefix.sh"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

exec wine "$@"
