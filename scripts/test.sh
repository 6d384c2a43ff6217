#!/usr/bin/env bash
# Runs every test, stage by stage, and fails when any stage fails:
#   native   Debug build, unit suite
#   sanitize unit suite under AddressSanitizer and UndefinedBehaviorSanitizer,
#            then under ThreadSanitizer (the WMI queries run on a thread of their own)
#   fuzz     each libFuzzer target for a bounded time (ORVANE_FUZZ_SECONDS in all, default 60)
#   reproducible  two clean builds of the shipped programs in two folders, one
#            checked out with CR LF line ends, give identical bytes
#            (scripts/check-reproducible.sh)
#   release  the release command: two unsigned runs, one from a clone with
#            core.autocrlf=true, give the same zip, and one
#            signed with a throw-away certificate verifies
#            (tests/scripts/release_test.sh)
#   windows  MinGW builds; under Wine on a virtual display, in a Wine prefix
#            made for this run: unit suite, integration, end-to-end and import
#            checks, then a short stress run under busy loops (scripts/stress.sh:
#            no late answer, no failed run). The shipped 32-bit build is
#            always built and its imports checked; where this host runs no
#            32-bit programs, the Wine tests run a 64-bit build of the same
#            sources (ORVANE_WINE_BITS=32 or 64 forces one, see
#            scripts/lib/wine-bits.sh).
# The last lines are CTest's summary of the Windows stage.
#   bash scripts/test.sh                 every stage
#   bash scripts/test.sh native fuzz     only these stages
# Build trees go to build/test/ (ORVANE_TEST_BUILD_DIR to move them).
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

BUILD="${ORVANE_TEST_BUILD_DIR:-$ORVANE_ROOT/build/test}"
FUZZ_SECONDS="${ORVANE_FUZZ_SECONDS:-60}"
# The Windows stage's stress run, about a minute (scripts/stress.sh has the full one).
ORVANE_STRESS_SHORT="${ORVANE_STRESS_SHORT:---cycles 1000 --unit-runs 1 --check-runs 5}"
stages=("$@")
[ "${#stages[@]}" -gt 0 ] || stages=(native sanitize fuzz reproducible release windows)

failed=()
timings=()

cleanup() {
  orvane_stop_wine
  orvane_stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Runs one stage, timing it and remembering a failure.
run_stage() {
  local name="$1" start status
  shift
  orvane_log "stage $name"
  start=$(date +%s)
  "$@"
  status=$?
  timings+=("$(printf '%-14s %4ss  %s' "$name" "$(( $(date +%s) - start ))" \
    "$([ "$status" -eq 0 ] && echo ok || echo FAILED)")")
  [ "$status" -eq 0 ] || failed+=("$name")
  return 0
}

stage_native() {
  orvane_cmake_build "$BUILD/native" -DCMAKE_BUILD_TYPE=Debug &&
    ctest --test-dir "$BUILD/native" --output-on-failure -j "$(orvane_jobs)" --timeout 600
}

stage_sanitize() {
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  orvane_cmake_build "$BUILD/sanitize" -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON &&
    ctest --test-dir "$BUILD/sanitize" --output-on-failure -j "$(orvane_jobs)" --timeout 900 || return 1
  orvane_cmake_configure "$BUILD/tsan" -DCMAKE_BUILD_TYPE=Debug -DORVANE_TSAN=ON &&
    cmake --build "$BUILD/tsan" -j "$(orvane_jobs)" --target orvane_unit_tests &&
    TSAN_OPTIONS="halt_on_error=1" ctest --test-dir "$BUILD/tsan" --output-on-failure --timeout 900
}

# Only the shipped programs, twice: the test programs add nothing to the answer.
stage_reproducible() {
  ORVANE_REPRO_DIR="$BUILD/reproducible" bash "$ORVANE_ROOT/scripts/check-reproducible.sh"
}

stage_release() {
  ORVANE_RELEASE_TEST_DIR="$BUILD/release" bash "$ORVANE_ROOT/tests/scripts/release_test.sh"
}

# Seeds: the built-in tables and a few lines of each kind, each once with
# a leading '0' and once with '1' (targets that take a first byte as a switch
# see both ways); for the recording reader, the recorded machines too.
make_fuzz_seeds() {
  local dir="$1" target="$2" n=0 f
  rm -rf "$dir"
  mkdir -p "$dir"
  for f in "$ORVANE_ROOT"/res/*.csv; do
    for lead in 0 1; do
      { printf '%s' "$lead"; cat "$f"; } >"$dir/seed$((n++))"
    done
  done
  local lines=(
    '3.3,10.0.19043,64 bit,vorn_explorer.exe,,1,ok,link,https://example.invalid/'
    $'3.3,10.0,64,a.exe,,1,s,t,u\r\n\r\n4.0,6.1,32,b.exe,-x 1,0,s,t,u\n'
    ',,,,,,,'
    $'ROOT\\CIMV2,,,,,-1\r\n,SELECT * FROM Win32_Processor,,P [%s],,-1\r\n,,Name,N : %s,,-1\r\n'
    $',,AdapterRAM,RAM : %0.2f(GB),9.31E-10,3\n,,Version,V %s,,1\n\n'
    $',,Orphan,%s%s%n,1e308,99\r\nx\r\n'
  )
  local line
  for line in "${lines[@]}"; do
    for lead in 0 1; do
      printf '%s%s' "$lead" "$line" >"$dir/seed$((n++))"
    done
  done
  if [ "$target" = fuzz_recording ]; then
    cp "$ORVANE_ROOT"/tests/machines/*.json "$dir/"
  fi
}

stage_fuzz() {
  local dir="$BUILD/fuzz"
  CC=clang CXX=clang++ orvane_cmake_configure "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_FUZZ=ON &&
    cmake --build "$dir" -j "$(orvane_jobs)" --target orvane_fuzz_targets || return 1
  local targets=("$dir"/fuzz_*)
  local runnable=()
  local t
  for t in "${targets[@]}"; do
    [ -x "$t" ] && [ -f "$t" ] && runnable+=("$t")
  done
  if [ "${#runnable[@]}" -eq 0 ]; then
    echo "no fuzz targets were built" >&2
    return 1
  fi
  local each=$(( FUZZ_SECONDS / ${#runnable[@]} ))
  [ "$each" -ge 5 ] || each=5
  local status=0
  for t in "${runnable[@]}"; do
    local name corpus
    name="$(basename "$t")"
    corpus="$dir/corpus/$name"
    make_fuzz_seeds "$corpus" "$name"
    # Inputs as long as the longest seed, so that whole recordings are tried.
    local max_len largest
    max_len=4096
    largest=$(find "$corpus" -type f -printf '%s\n' | sort -n | tail -n 1)
    [ "${largest:-0}" -le "$max_len" ] || max_len="$largest"
    echo "fuzzing $name for ${each}s"
    if ! ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
      "$t" -max_total_time="$each" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$dir/crash-$name-" "$corpus" >"$dir/$name.log" 2>&1; then
      echo "$name FAILED; the end of its log ($dir/$name.log):"
      tail -n 60 "$dir/$name.log"
      status=1
    else
      grep -E '^stat::number_of_executed_units' "$dir/$name.log" || true
    fi
  done
  return "$status"
}

# The shipped 32-bit tree, and the 64-bit one when that is what runs under Wine.
stage_windows_build() {
  orvane_cmake_build "$BUILD/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$(orvane_toolchain_file 32)" || return 1
  if [ "$ORVANE_WINE_BITS" = 64 ]; then
    orvane_cmake_build "$BUILD/windows64" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$(orvane_toolchain_file 64)"
  fi
}

wine_tree() {
  if [ "$ORVANE_WINE_BITS" = 64 ]; then echo "$BUILD/windows64"; else echo "$BUILD/windows"; fi
}

stage_windows_tests() {
  local status=0
  if [ "$ORVANE_WINE_BITS" = 64 ]; then
    # Not run under Wine here, but what users get all the same: check its imports.
    echo "the 32-bit build: import check only"
    ctest --test-dir "$BUILD/windows" --output-on-failure -R '^imports' || status=1
  fi
  # A fresh prefix for every run: nothing left over from an earlier one.
  export WINEPREFIX="$BUILD/wineprefix"
  orvane_stop_wine
  rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
  orvane_ensure_prefix || { echo "could not make the Wine prefix $WINEPREFIX" >&2; return 1; }
  if [ -z "${ORVANE_XVFB_PID:-}" ]; then
    orvane_start_xvfb || return 1
  fi
  echo "the ${ORVANE_WINE_BITS}-bit build under Wine ($ORVANE_WINE_BITS_WHY)"
  echo "Wine prefix $WINEPREFIX, display $DISPLAY"
  # Made here, so whatever a test needs of them is there: a test that finds
  # it lacking fails instead of skipping (E2E_REQUIRE).
  LC_ALL=ja_JP.UTF-8 ORVANE_TEST_PREFIX_STANDARD=1 \
    ctest --test-dir "$(wine_tree)" --output-on-failure -j 2 --timeout 1800 || status=1
  # A short stress run: no answer may miss its deadline on a busy machine.
  orvane_log "stress (short)"
  bash "$ORVANE_ROOT/scripts/stress.sh" --tree "$(wine_tree)" $ORVANE_STRESS_SHORT || status=1
  return "$status"
}

orvane_install_deps || { echo "could not install the packages the tests need" >&2; exit 1; }
orvane_select_wine_bits || exit 2
mkdir -p "$BUILD"

windows=0
for stage in "${stages[@]}"; do
  case "$stage" in
    native) run_stage native stage_native ;;
    sanitize) run_stage sanitize stage_sanitize ;;
    fuzz) run_stage fuzz stage_fuzz ;;
    reproducible) run_stage reproducible stage_reproducible ;;
    release) run_stage release stage_release ;;
    windows) windows=1 ;;
    *) echo "unknown stage '$stage' (native, sanitize, fuzz, reproducible, release, windows)" >&2; exit 2 ;;
  esac
done
if [ "$windows" -eq 1 ]; then
  run_stage windows-build stage_windows_build
fi

# What the earlier stages did, before the last stage's own summary.
if [ "${#timings[@]}" -gt 0 ]; then
  orvane_log "stages so far"
  printf '  %s\n' "${timings[@]}"
fi

if [ "$windows" -eq 1 ] && [[ ! " ${failed[*]} " =~ " windows-build " ]]; then
  orvane_log "stage windows (${ORVANE_WINE_BITS}-bit: $ORVANE_WINE_BITS_WHY; ctest under Wine)"
  [ "${#failed[@]}" -eq 0 ] || echo "failed before this stage: ${failed[*]}"
  stage_windows_tests || failed+=(windows)
fi

if [ "${#failed[@]}" -gt 0 ]; then
  echo "failed stages: ${failed[*]}" >&2
  exit 1
fi
exit 0
