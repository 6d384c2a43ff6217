#!/usr/bin/env bash
# Shows that nothing of ours waits out a deadline on a busy machine. Under
# busy loops (one more than the cores unless told) it runs, in the Windows
# build under Wine:
#   worker  the WMI worker started and answered CYCLES times, each answer
#           awaited with the run's 10 s (orvane_worker_cycles): how many were late
#   unit    the unit suite UNIT_RUNS times
#   check   orvane-check CHECK_RUNS times on the built-in tables, each run's
#           exit code and verdict against those of a run before the load
# and prints one summary line per part. Exits 1 when an answer was late or a
# run failed or differed.
#   bash scripts/stress.sh [--busy N] [--cycles N] [--unit-runs N] [--check-runs N] [--tree DIR]
# The tree is built already: DIR, else build/windows (build/windows64 when
# ORVANE_WINE_BITS=64). Wine prefix: WINEPREFIX, else the default one. A
# virtual display of its own unless DISPLAY is set.
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

busy=$(( $(orvane_jobs) + 1 ))
cycles=5000
unit_runs=5
check_runs=100
tree=""
while [ $# -gt 0 ]; do
  case "$1" in
    --busy) busy="$2"; shift 2 ;;
    --cycles) cycles="$2"; shift 2 ;;
    --unit-runs) unit_runs="$2"; shift 2 ;;
    --check-runs) check_runs="$2"; shift 2 ;;
    --tree) tree="$2"; shift 2 ;;
    *) echo "usage: stress.sh [--busy N] [--cycles N] [--unit-runs N] [--check-runs N] [--tree DIR]" >&2; exit 64 ;;
  esac
done

orvane_select_wine_bits || exit 2
if [ -z "$tree" ]; then
  if [ "$ORVANE_WINE_BITS" = 64 ]; then tree="$ORVANE_ROOT/build/windows64"; else tree="$ORVANE_ROOT/build/windows"; fi
fi
for program in orvane_worker_cycles.exe orvane_unit_tests.exe orvane-check.exe; do
  [ -f "$tree/$program" ] || { echo "stress.sh: $tree/$program is not built" >&2; exit 2; }
done
orvane_use_default_prefix
orvane_ensure_prefix || { echo "stress.sh: no Wine prefix at $WINEPREFIX" >&2; exit 2; }
# The tables are code page 932, as on the machines they are for.
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
orvane_wine_command
scratch="$(mktemp -d)"
busy_pids=()

cleanup() {
  local pid
  for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${busy_pids[@]}"; do wait "$pid" 2>/dev/null; done
  busy_pids=()
  orvane_stop_xvfb
  rm -rf "$scratch" "$tree/stress-check.bat"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  orvane_start_xvfb || exit 2
fi

# One orvane-check run, named by the argument: "exit code, verdict" on standard output. The exit
# code is the one Windows hands the program's caller, here cmd: under heavy
# load Wine's server may kill a process whose threads have all ended before
# it is gone from the host (after a second), and its status on this side then
# reads 137 whatever the program returned. Each run writes files of its own:
# what a run leaves behind for a moment (its graphics probe's process) may
# still hold the last run's open.
printf '@orvane-check.exe --json >stress-check-%%1.json 2>stress-check-%%1.err\r\n@echo exit %%errorlevel%%\r\n' \
  >"$tree/stress-check.bat"
check_once() {
  local code verdict n="$1"
  code=$(cd "$tree" && "${ORVANE_WINE_COMMAND[@]}" cmd /c stress-check.bat "$n" 2>"$scratch/cmd.err" | tr -d '\r' |
    sed -n 's/^exit //p')
  verdict=$(grep -o '"verdict": *"[^"]*"' "$tree/stress-check-$n.json" 2>/dev/null | head -n 1 | sed 's/.*: *//')
  cat "$tree/stress-check-$n.err" "$scratch/cmd.err" >"$scratch/check.err" 2>/dev/null
  rm -f "$tree/stress-check-$n.json" "$tree/stress-check-$n.err"
  echo "${code:-none} ${verdict:-none}"
}

# What a quiet machine answers, before the load.
quiet="$(check_once quiet)"

for _ in $(seq 1 "$busy"); do
  ( while :; do :; done ) &
  busy_pids+=($!)
done
orvane_log "stress: $busy busy loops on $(orvane_jobs) cores, the ${ORVANE_WINE_BITS}-bit build in $tree"

status=0

start=$(date +%s)
worker_line="$(cd "$tree" && "${ORVANE_WINE_COMMAND[@]}" ./orvane_worker_cycles.exe "$cycles" 2>&1 | tr -d '\r' | tail -n 1)"
late=$(sed -n 's/.* late \([0-9]*\) .*/\1/p' <<<"$worker_line")
[ "${late:-x}" = 0 ] || status=1
worker_summary="worker: ${late:-?} late of $cycles cycles ($worker_line; $(( $(date +%s) - start ))s)"

start=$(date +%s)
unit_passed=0
for run in $(seq 1 "$unit_runs"); do
  (cd "$tree" && "${ORVANE_WINE_COMMAND[@]}" ./orvane_unit_tests.exe >"$scratch/unit.log" 2>&1)
  if grep -q '^\[  PASSED  \] [0-9]* tests\?\.' "$scratch/unit.log" && ! grep -q '^\[  FAILED  \]' "$scratch/unit.log"; then
    unit_passed=$((unit_passed + 1))
  else
    status=1
    cp "$scratch/unit.log" "$tree/stress-unit-failed-$run.log"
    echo "unit run $run failed: $tree/stress-unit-failed-$run.log" >&2
    grep '^\[  FAILED  \]' "$scratch/unit.log" >&2
  fi
done
unit_summary="unit: $unit_passed of $unit_runs runs passed ($(( $(date +%s) - start ))s)"

start=$(date +%s)
check_same=0
for run in $(seq 1 "$check_runs"); do
  answer="$(check_once "$run")"
  if [ "$answer" = "$quiet" ]; then
    check_same=$((check_same + 1))
  else
    status=1
    echo "orvane-check run $run: exit code and verdict $answer, quiet run $quiet" >&2
    iconv -f cp932 -t utf-8 "$scratch/check.err" >&2 2>/dev/null || cat "$scratch/check.err" >&2
  fi
done
check_summary="orvane-check: $check_same of $check_runs runs as the quiet run (exit code and verdict $quiet; $(( $(date +%s) - start ))s)"

cleanup
trap - EXIT
echo "$worker_summary"
echo "$unit_summary"
echo "$check_summary"
exit "$status"
