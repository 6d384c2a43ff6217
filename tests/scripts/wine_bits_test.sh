#!/usr/bin/env bash
# The choice between the 32-bit and the 64-bit build under Wine, against
# stand-in loaders: one that starts, one the kernel refuses, none at all.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

printf '#!/bin/sh\necho wine-8.0\n' >"$scratch/runs"
# What bash reports for an i386 file on a kernel without 32-bit execution.
printf '#!/bin/sh\nexit 126\n' >"$scratch/refused"
chmod +x "$scratch/runs" "$scratch/refused"

failures=0
# Arguments: meaning, forced bits, 32-bit loader, expected bits, expected words of the reason.
check() {
  local meaning="$1" forced="$2" loader="$3" want="$4" why="$5" got
  got="$(
    unset ORVANE_WINE_BITS_WHY
    ORVANE_WINE_BITS="$forced" ORVANE_WINE32_LOADER="$loader" ORVANE_ROOT="$here/../.."
    source "$here/../../scripts/lib/wine-bits.sh"
    orvane_select_wine_bits 2>/dev/null || { echo "refused"; exit 0; }
    echo "$ORVANE_WINE_BITS: $ORVANE_WINE_BITS_WHY"
  )"
  if [ "${got%%:*}" != "$want" ] || [[ "$got" != *"$why"* ]]; then
    echo "FAILED: $meaning: got '$got', want '$want' with '$why'"
    failures=$((failures + 1))
  fi
}

check "a host that runs 32-bit programs" "" "$scratch/runs" 32 "runs 32-bit programs"
check "a kernel that refuses i386 files" "" "$scratch/refused" 64 "runs no 32-bit programs"
check "no 32-bit loader installed" "" "$scratch/absent" 64 "not installed"
check "32 forced where it could run" 32 "$scratch/runs" 32 "forced"
check "32 forced where it cannot run" 32 "$scratch/refused" 32 "forced"
check "64 forced where 32 could run" 64 "$scratch/runs" 64 "forced"
check "a wrong forced value" 48 "$scratch/runs" refused ""

# A decision made once per run is kept by the scripts it calls.
got="$(
  export ORVANE_WINE_BITS=64 ORVANE_WINE_BITS_WHY="decided by the caller" ORVANE_WINE32_LOADER="$scratch/runs"
  ORVANE_ROOT="$here/../.."
  source "$here/../../scripts/lib/wine-bits.sh"
  orvane_select_wine_bits && echo "$ORVANE_WINE_BITS: $ORVANE_WINE_BITS_WHY"
)"
[ "$got" = "64: decided by the caller" ] || { echo "FAILED: a caller's decision: got '$got'"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "wine bits: all cases passed"
exit "$failures"
