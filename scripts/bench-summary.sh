#!/usr/bin/env bash
# Times orvane-check --summary over a fleet of recordings made from the
# machine zoo (tests/machines, copied round until there are COUNT of them):
# natively over the core (tests/bench/summary_bench_main.cpp, a Release
# build), and the real orvane-check.exe under Wine; each with --csv, and with
# --csv and --html, whose ratio to the first is printed. Medians of ROUNDS runs.
#
#   scripts/bench-summary.sh [count] [rounds]
#
# Build trees: build/bench-native and build/bench-win<bits>. Uses WINEPREFIX if
# set (else Orvane's cached prefix) and DISPLAY if set (else a private Xvfb).
# ORVANE_BENCH_NATIVE_ONLY=1 skips Wine.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

root="$(cd "$(dirname "$0")/.." && pwd)"
count="${1:-10000}"
rounds="${2:-3}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fleet="$work/fleet"
mkdir -p "$fleet"
zoo=("$root"/tests/machines/*.json)
for i in $(seq 1 "$count"); do
  cp "${zoo[$(( (i - 1) % ${#zoo[@]} ))]}" "$(printf '%s/pc-%05d.json' "$fleet" "$i")"
done
echo "fleet: $count recordings, $(du -sh "$fleet" | cut -f1) in all"

native="$root/build/bench-native"
if [ ! -f "$native/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
nice cmake --build "$native" --target orvane_summary_bench >/dev/null || { echo "building the native driver failed" >&2; exit 1; }

# Median milliseconds of ROUNDS runs of the command; its output to $work/run.txt.
time_runs() {
  local samples="" start end
  for _ in $(seq "$rounds"); do
    start=$(date +%s%N)
    "$@" >"$work/run.txt" 2>&1 || true
    end=$(date +%s%N)
    samples+="$(( (end - start) / 1000000 )) "
  done
  grep -q "^recordings: $count" "$work/run.txt" || { echo "the summary counted otherwise:" >&2; cat "$work/run.txt" >&2; exit 1; }
  echo "$(echo "$samples" | orvane_median) ms  (runs: $samples)"
}
ratio() { awk -v a="${1%% *}" -v b="${2%% *}" 'BEGIN { printf "%.2f", b / a }'; }

plain="$(time_runs "$native/orvane_summary_bench" "$fleet" "$work/native.csv")"
page="$(time_runs "$native/orvane_summary_bench" "$fleet" "$work/native.csv" "$work/native.html")"
echo "native core:  median $plain"
echo "  with --html: median $page; $(ratio "$plain" "$page") times"

[ "${ORVANE_BENCH_NATIVE_ONLY:-0}" = 1 ] && exit 0

orvane_select_wine_bits
build="$root/build/bench-win$ORVANE_WINE_BITS"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$(orvane_toolchain_file "$ORVANE_WINE_BITS")" >/dev/null
fi
nice cmake --build "$build" --target orvane-check >/dev/null || { echo "building orvane-check.exe failed" >&2; exit 1; }

orvane_use_default_prefix
cleanup() {
  wineserver -k 2>/dev/null || true
  orvane_stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
[ -n "${DISPLAY:-}" ] || orvane_start_xvfb
orvane_ensure_prefix
wineserver -p
orvane_wine "$build/orvane-check.exe" --version >/dev/null 2>&1 || true

plain="$(time_runs orvane_wine "$build/orvane-check.exe" --summary "Z:$fleet" --csv "Z:$work/wine.csv")"
page="$(time_runs orvane_wine "$build/orvane-check.exe" --summary "Z:$fleet" --csv "Z:$work/wine.csv" --html "Z:$work/wine.html")"
echo "orvane-check.exe ($ORVANE_WINE_BITS-bit) under Wine:  median $plain"
echo "  with --html: median $page; $(ratio "$plain" "$page") times"
