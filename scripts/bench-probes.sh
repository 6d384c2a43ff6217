#!/usr/bin/env bash
# Times the two probes under Wine: the WMI queries of the built-in table and
# the OpenGL probe, each in a process of its own, against the same program
# doing nothing (the cost of starting a process under Wine). Rounds are
# interleaved so that a slow moment of the machine hits all three alike.
#
#   scripts/bench-probes.sh [build-dir] [rounds]
#
# The build dir is a MinGW-w64 build of the bitness this host's Wine runs
# (scripts/lib/wine-bits.sh; configured here when missing). Uses WINEPREFIX if
# set, DISPLAY if set (else a private Xvfb).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

root="$(cd "$(dirname "$0")/.." && pwd)"
orvane_select_wine_bits
build="${1:-$root/build/bench-win$ORVANE_WINE_BITS}"
rounds="${2:-11}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$(orvane_toolchain_file "$ORVANE_WINE_BITS")" >/dev/null
fi
cmake --build "$build" --target orvane_probe_bench >/dev/null 2>&1 || { echo "building orvane_probe_bench failed" >&2; exit 1; }
bench="$build/orvane_probe_bench.exe"

orvane_use_default_prefix

cleanup() {
  wineserver -k 2>/dev/null || true
  orvane_stop_xvfb
}
trap cleanup EXIT

[ -n "${DISPLAY:-}" ] || orvane_start_xvfb

orvane_ensure_prefix
# One wineserver for the whole run, warmed up, so no run pays for its start.
wineserver -p
for mode in none wmi wmi-checked gl; do orvane_wine "$bench" "$mode" >/dev/null 2>&1 || true; done

declare -A samples=([none]="" [wmi]="" [wmi-checked]="" [gl]="")
declare -A inside=([none]="" [wmi]="" [wmi-checked]="" [gl]="")
for _ in $(seq "$rounds"); do
  for mode in none wmi wmi-checked gl; do
    start=$(date +%s%N)
    status=0
    micros=$(orvane_wine "$bench" "$mode" 2>/dev/null | tr -d '\r') || status=$?
    end=$(date +%s%N)
    if [ "$status" -ne 0 ]; then echo "$mode: the probe found nothing (exit $status)" >&2; fi
    samples[$mode]+="$(( (end - start) / 1000000 )) "
    inside[$mode]+="$(( ${micros:-0} / 1000 )) "
  done
done

base=$(echo "${samples[none]}" | orvane_median)
wmi=$(echo "${samples[wmi]}" | orvane_median)
gl=$(echo "${samples[gl]}" | orvane_median)

wmi_in=$(echo "${inside[wmi]}" | orvane_median)
checked=$(echo "${samples[wmi-checked]}" | orvane_median)
checked_in=$(echo "${inside[wmi-checked]}" | orvane_median)
gl_in=$(echo "${inside[gl]}" | orvane_median)

echo "rounds: $rounds; medians in ms; the ${ORVANE_WINE_BITS}-bit build under Wine ($ORVANE_WINE_BITS_WHY)"
echo "                           process  minus baseline  measured inside"
printf "baseline (empty program)  %7d\n" "$base"
printf "WMI queries (all five)    %7d  %14d  %15d\n" "$wmi" "$((wmi - base))" "$wmi_in"
printf "WMI checked query only    %7d  %14d  %15d\n" "$checked" "$((checked - base))" "$checked_in"
printf "OpenGL probe              %7d  %14d  %15d\n" "$gl" "$((gl - base))" "$gl_in"
