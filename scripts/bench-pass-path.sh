#!/usr/bin/env bash
# Times the pass path under Wine: from the start of a launcher to the start of
# the product it launches, for Orvane.exe on a passing machine, for a bare
# launcher that only starts the same product, and for the floor: the same
# launcher reading the graphics driver first, with Orvane's steps, in its own
# process (GraphicsLauncher). The ratio to the floor is (Orvane - bare) /
# (floor - bare). Every round also times the probes on their own
# (orvane_probe_bench: an empty program, every WMI query of the built-in
# table, the OpenGL probe) for the old ratio, Orvane's extra cost against
# probing everything, and a failing run from its start to its visible dialog
# (DialogTimer). Rounds are interleaved; medians.
#
#   scripts/bench-pass-path.sh [build-dir] [rounds]
#
# The build dir is a MinGW-w64 build of the bitness this host's Wine runs
# (scripts/lib/wine-bits.sh; configured here when missing). Uses WINEPREFIX if
# set, DISPLAY if set (else a private Xvfb). The prefix is made to report
# Windows 10.0.22631 for the run and put back afterwards.
# ORVANE_BENCH_BEFORE=<commit> also times the pass and the failing run of
# Orvane built from that commit (in <build-dir>-before) in the same rounds,
# for a before-and-after.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
trap 'echo "bench-pass-path: failed at line $LINENO" >&2' ERR

root="$(cd "$(dirname "$0")/.." && pwd)"
orvane_select_wine_bits
build="${1:-$root/build/bench-win$ORVANE_WINE_BITS}"
rounds="${2:-7}"
[ "$rounds" -ge 5 ] || { echo "at least 5 rounds" >&2; exit 2; }
toolchain="$(orvane_toolchain_file "$ORVANE_WINE_BITS")"
before_commit="${ORVANE_BENCH_BEFORE:-}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
fi
cmake --build "$build" --target Orvane TestProduct BareLauncher GraphicsLauncher DialogTimer orvane_probe_bench >/dev/null 2>&1 \
  || { echo "building the programs failed" >&2; exit 1; }
build="$(cd "$build" && pwd)"  # the runs below start in other folders

# The earlier Orvane, from its own sources, with the same toolchain.
before_exe=""
if [ -n "$before_commit" ]; then
  before="$build-before"
  if [ "$(cat "$before/commit" 2>/dev/null)" != "$(git -C "$root" rev-parse "$before_commit")" ]; then
    rm -rf "$before"
    mkdir -p "$before/src"
    git -C "$root" archive "$before_commit" | tar -x -C "$before/src"
    git -C "$root" rev-parse "$before_commit" >"$before/commit"
  fi
  if [ ! -f "$before/build/CMakeCache.txt" ]; then
    cmake -S "$before/src" -B "$before/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
  fi
  cmake --build "$before/build" --target Orvane >/dev/null 2>&1 || { echo "building $before_commit failed" >&2; exit 1; }
  before_exe="$before/build/Orvane.exe"
fi

orvane_use_default_prefix
export LC_ALL="${LC_ALL:-ja_JP.UTF-8}"
unset ORVANE_TEST_PRODUCT_LOG

version_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
old_build=""
old_version=""
cleanup() {
  if [ -n "$old_build" ]; then
    orvane_wine reg add "$version_key" /v CurrentBuildNumber /d "$old_build" /f >/dev/null 2>&1 || true
    orvane_wine reg add "$version_key" /v CurrentVersion /d "$old_version" /f >/dev/null 2>&1 || true
  fi
  wineserver -k 2>/dev/null || true
  orvane_stop_xvfb
}
trap cleanup EXIT

[ -n "${DISPLAY:-}" ] || orvane_start_xvfb

orvane_ensure_prefix
# One wineserver for the whole run, so no run pays for its start (it may run already).
wineserver -p 2>/dev/null || true

reg_value() {
  orvane_wine reg query "$version_key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'
}
old_build="$(reg_value CurrentBuildNumber)"
old_version="$(reg_value CurrentVersion)"
orvane_wine reg add "$version_key" /v CurrentBuildNumber /d 22631 /f >/dev/null 2>&1
orvane_wine reg add "$version_key" /v CurrentVersion /d 10.0 /f >/dev/null 2>&1

# Two installations side by side, each with the stand-in product.
bench_root="$WINEPREFIX/drive_c/orvane-bench"
rm -rf "$bench_root"
mkdir -p "$bench_root/orvane" "$bench_root/bare" "$bench_root/graphics" "$bench_root/fail" "$bench_root/before" \
  "$bench_root/fail-before"
cp "$build/Orvane.exe" "$bench_root/orvane/Orvane.exe"
cp "$build/Orvane.exe" "$bench_root/fail/Orvane.exe"
if [ -n "$before_exe" ]; then
  cp "$before_exe" "$bench_root/before/Orvane.exe"
  cp "$before_exe" "$bench_root/fail-before/Orvane.exe"
  cp "$build/TestProduct.exe" "$bench_root/before/vorn_explorer.exe"
fi
cp "$build/BareLauncher.exe" "$bench_root/bare/BareLauncher.exe"
cp "$build/GraphicsLauncher.exe" "$bench_root/graphics/GraphicsLauncher.exe"
for folder in orvane bare graphics; do cp "$build/TestProduct.exe" "$bench_root/$folder/vorn_explorer.exe"; done
# A 32-bit-only prefix reports a 32-bit system, which the built-in row
# rejects: there the same row asks for 32 bits and lies beside Orvane.
if [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
  for folder in orvane before; do
    printf '3.3,10.0.19043,32 \x83\x72\x83\x62\x83\x67,vorn_explorer.exe,,1,ok,,\r\n' >"$bench_root/$folder/OrvaneSPC.csv"
  done
fi
# A failing machine: its only row asks for a Windows yet to come.
for folder in fail fail-before; do
  cp "$build/TestProduct.exe" "$bench_root/$folder/vorn_explorer.exe"
  printf '3.3,99.0.0,64 \x83\x72\x83\x62\x83\x67,vorn_explorer.exe,,1,ok,,\r\n' >"$bench_root/$folder/OrvaneSPC.csv"
done

# ms from now_ns to the product's recorded start (FILETIME, 100 ns since 1601).
product_start_ms() {
  local log="$1" started_ns="$2" filetime
  for _ in $(seq 300); do
    if [ -s "$log" ] && [ "$(wc -l <"$log")" -ge 3 ]; then break; fi
    sleep 0.05
  done
  [ -s "$log" ] || { echo "the product did not start ($log)" >&2; return 1; }
  filetime="$(sed -n 3p "$log" | tr -d '\r')"
  echo $(( ( (filetime - 116444736000000000) * 100 - started_ns ) / 1000000 ))
}

launch() {  # launch <folder> <exe>: prints ms from start to the product's start
  local folder="$1" exe="$2" t0
  rm -f "$folder/launched.txt"
  t0=$(date +%s%N)
  (cd "$folder" && orvane_wine "$exe" >/dev/null 2>&1) || true
  product_start_ms "$folder/launched.txt" "$t0"
}

probe() {  # probe <mode>: "<wall ms of the process> <ms inside the probe>" of one orvane_probe_bench run
  local t0 t1 inside
  t0=$(date +%s%N)
  inside="$(orvane_wine "$build/orvane_probe_bench.exe" "$1" 2>/dev/null | tr -d '\r')" || echo "probe $1 found nothing" >&2
  t1=$(date +%s%N)
  echo "$(( (t1 - t0) / 1000000 )) $(( ${inside:-0} / 1000 ))"
}

dialog() {  # dialog <folder>: ms from the start of its Orvane.exe to its visible dialog
  local shown
  shown="$(cd "$1" && orvane_wine "$build/DialogTimer.exe" 'C:\orvane-bench\'"$(basename "$1")"'\Orvane.exe' \
    2>/dev/null | tr -d '\r')" || { echo "no dialog from $1" >&2; shown=0; }
  echo "$shown"
}

failing=(fail)
[ -z "$before_exe" ] || failing+=(fail-before)

# Warm-up: the first start of anything under Wine loads more than later ones.
launch "$bench_root/bare" BareLauncher.exe >/dev/null
launch "$bench_root/graphics" GraphicsLauncher.exe >/dev/null
launch "$bench_root/orvane" Orvane.exe >/dev/null
[ -z "$before_exe" ] || launch "$bench_root/before" Orvane.exe >/dev/null
modes=(none wmi wmi-checked gl)
for mode in "${modes[@]}"; do probe "$mode" >/dev/null; done
for folder in "${failing[@]}"; do dialog "$bench_root/$folder" >/dev/null; done

declare -A samples=([bare]="" [graphics]="" [orvane]="" [before]="")
declare -A inside=()
for mode in "${modes[@]}" "${failing[@]}"; do samples[$mode]=""; inside[$mode]=""; done
# One round's ratio to the floor, in hundredths: (launcher - bare) / (floor - bare).
round_ratio() { awk -v o="$1" -v b="$2" -v g="$3" 'BEGIN { print (g > b ? int(100 * (o - b) / (g - b) + 0.5) : 0) }'; }
hundredths() { awk -v r="$1" 'BEGIN { printf "%.2f", r / 100 }'; }
ratios=""
before_ratios=""
for _ in $(seq "$rounds"); do
  bare_ms=$(launch "$bench_root/bare" BareLauncher.exe)
  graphics_ms=$(launch "$bench_root/graphics" GraphicsLauncher.exe)
  orvane_ms=$(launch "$bench_root/orvane" Orvane.exe)
  samples[bare]+="$bare_ms "
  samples[graphics]+="$graphics_ms "
  samples[orvane]+="$orvane_ms "
  ratios+="$(round_ratio "$orvane_ms" "$bare_ms" "$graphics_ms") "
  if [ -n "$before_exe" ]; then
    before_ms=$(launch "$bench_root/before" Orvane.exe)
    samples[before]+="$before_ms "
    before_ratios+="$(round_ratio "$before_ms" "$bare_ms" "$graphics_ms") "
  fi
  for mode in "${modes[@]}"; do
    read -r wall own < <(probe "$mode")
    samples[$mode]+="$wall "
    inside[$mode]+="$own "
  done
  for folder in "${failing[@]}"; do samples[$folder]+="$(dialog "$bench_root/$folder") "; done
done

bare=$(echo "${samples[bare]}" | orvane_median)
graphics=$(echo "${samples[graphics]}" | orvane_median)
orvane=$(echo "${samples[orvane]}" | orvane_median)
none=$(echo "${samples[none]}" | orvane_median)
extra=$(( orvane - bare ))
floor=$(( graphics - bare ))
# A probe's cost is the time inside it (its DLLs are loaded there too); the
# process times are shown beside it, less an empty process, for comparison.
declare -A own=() wall=()
for mode in wmi wmi-checked gl; do
  own[$mode]=$(echo "${inside[$mode]}" | orvane_median)
  wall[$mode]=$(( $(echo "${samples[$mode]}" | orvane_median) - none ))
done
probe_all=$(( own[wmi] + own[gl] ))
ratio=$(echo "$ratios" | orvane_median)

echo "rounds: $rounds (medians, ms); the ${ORVANE_WINE_BITS}-bit build under Wine ($ORVANE_WINE_BITS_WHY)"
echo "launcher start -> product start:"
echo "  bare launcher:                    $bare   (samples: ${samples[bare]})"
echo "  the floor, graphics probe first:  $graphics   (samples: ${samples[graphics]})"
echo "  Orvane:                           $orvane   (samples: ${samples[orvane]})"
echo "Orvane's pass path (Orvane - bare): $extra; the floor's (floor - bare): $floor"
awk -v r="$ratio" -v e="$extra" -v f="$floor" 'BEGIN {
  printf "ratio to the floor, median of the rounds: %.2f (target <= 1.25: %s; moonshot <= 1.1: %s); of the medians: %.2f\n",
    r / 100, (r <= 125 ? "met" : "not met"), (r <= 110 ? "met" : "not met"), (f > 0 ? e / f : 0)
}'
echo "  per round: $(for r in $ratios; do printf '%s ' "$(hundredths "$r")"; done)"
echo "time inside each probe (process time less an empty process):"
echo "  every WMI query of the built-in table: ${own[wmi]}  (${wall[wmi]})"
echo "  the checked WMI query only:            ${own[wmi-checked]}  (${wall[wmi-checked]})"
echo "  OpenGL driver:                         ${own[gl]}  (${wall[gl]})"
awk -v e="$extra" -v p="$probe_all" 'BEGIN {
  printf "old ratio, pass path / probing everything (%d): %.2f\n", p, (p > 0 ? e / p : 0)
}'
echo "failing run, start -> visible dialog: $(echo "${samples[fail]}" | orvane_median)   (samples: ${samples[fail]})"
if [ -n "$before_exe" ]; then
  before_pass=$(echo "${samples[before]}" | orvane_median)
  echo "Orvane of $before_commit, the same rounds:"
  echo "  launcher start -> product start: $before_pass   (samples: ${samples[before]})"
  echo "  pass path: $(( before_pass - bare )); ratio to the floor, median of the rounds: $(hundredths "$(echo "$before_ratios" | orvane_median)")"
  awk -v e="$(( before_pass - bare ))" -v p="$probe_all" 'BEGIN { printf "  old ratio: %.2f\n", (p > 0 ? e / p : 0) }'
  echo "  failing run, start -> visible dialog: $(echo "${samples[fail-before]}" | orvane_median)   (samples: ${samples[fail-before]})"
fi
