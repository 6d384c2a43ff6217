#!/usr/bin/env bash
# Runs a Windows program under Wine: the cross build's test launcher, and the
# way to start any of its programs by hand.
#   scripts/wine-run.sh build/windows/Orvane.exe
# The loader follows the program's own format: Wine's 64-bit loader for a
# PE32+ file, the ordinary one (32-bit first) for anything else.
# WINEPREFIX may be set by the caller (the test script makes a fresh one per
# run); otherwise ORVANE_WINEPREFIX, otherwise a prefix kept in ~/.cache.
# A prefix that does not exist yet is made first.
set -euo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPREFIX="${WINEPREFIX:-${ORVANE_WINEPREFIX:-$HOME/.cache/orvane/wineprefix}}"

# The machine field of a PE file's header, as four hex digits ("8664" for
# x86-64, "014c" for i386); empty when the file is no PE image.
pe_machine() {
  local offset
  offset=$(od -An -tu4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$offset" ] || return 0
  [ "$(od -An -c -j "$offset" -N 2 "$1" 2>/dev/null | tr -d ' ')" = "PE" ] || return 0
  od -An -tx2 -j $((offset + 4)) -N 2 "$1" 2>/dev/null | tr -d ' '
}

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

if [ -f "${1:-}" ] && [ "$(pe_machine "$1")" = "8664" ] && [ -x /usr/lib/wine/wine64 ]; then
  export WINELOADER=/usr/lib/wine/wine64
  exec /usr/lib/wine/wine64 "$@"
fi
exec wine "$@"
