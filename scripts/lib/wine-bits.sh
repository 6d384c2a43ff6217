# Which Windows build runs under Wine on this host, and with which loader.
# Not every x86-64 host runs 32-bit programs: where the kernel refuses i386
# files, Wine's 32-bit loader cannot start, and the tests and the run command
# use a 64-bit build of the same sources under Wine's 64-bit loader instead.
# ORVANE_WINE_BITS=32 or 64 forces one; unset or empty means: find out.

# Debian's loaders; the detection's own test points these elsewhere.
ORVANE_WINE32_LOADER="${ORVANE_WINE32_LOADER:-/usr/lib/wine/wine}"
ORVANE_WINE64_LOADER="${ORVANE_WINE64_LOADER:-/usr/lib/wine/wine64}"

# True when Wine's 32-bit loader is there and the kernel lets it start.
orvane_host_runs_wine32() {
  [ -x "$ORVANE_WINE32_LOADER" ] && "$ORVANE_WINE32_LOADER" --version >/dev/null 2>&1
}

# Decides once per run; sets and exports ORVANE_WINE_BITS (32 or 64) and
# ORVANE_WINE_BITS_WHY (a few words for the summary), and keeps what a caller
# already decided.
orvane_select_wine_bits() {
  if [ -n "${ORVANE_WINE_BITS_WHY:-}" ]; then
    return 0
  fi
  case "${ORVANE_WINE_BITS:-}" in
    32 | 64) ORVANE_WINE_BITS_WHY="forced by ORVANE_WINE_BITS=$ORVANE_WINE_BITS" ;;
    "")
      if orvane_host_runs_wine32; then
        ORVANE_WINE_BITS=32
        ORVANE_WINE_BITS_WHY="this host runs 32-bit programs"
      else
        ORVANE_WINE_BITS=64
        if [ -x "$ORVANE_WINE32_LOADER" ]; then
          ORVANE_WINE_BITS_WHY="this host runs no 32-bit programs"
        else
          ORVANE_WINE_BITS_WHY="Wine's 32-bit loader is not installed"
        fi
      fi
      ;;
    *)
      echo "ORVANE_WINE_BITS must be 32, 64 or empty, not '$ORVANE_WINE_BITS'" >&2
      return 1
      ;;
  esac
  export ORVANE_WINE_BITS ORVANE_WINE_BITS_WHY
}

# The CMake toolchain file of a build: argument 32 or 64.
orvane_toolchain_file() {
  if [ "$1" = 64 ]; then
    echo "$ORVANE_ROOT/cmake/mingw-w64-x86_64.cmake"
  else
    echo "$ORVANE_ROOT/cmake/mingw-w64-i686.cmake"
  fi
}

# The command that starts Wine with the loader of the selected bitness, in the
# array ORVANE_WINE_COMMAND. Run as "${ORVANE_WINE_COMMAND[@]}" program... in
# the background, Wine itself is the shell's job: no shell sits between that
# would report Wine's end by a signal on its own.
orvane_wine_command() {
  if [ "${ORVANE_WINE_BITS:-32}" = 64 ]; then
    ORVANE_WINE_COMMAND=(env "WINELOADER=$ORVANE_WINE64_LOADER" "$ORVANE_WINE64_LOADER")
  else
    ORVANE_WINE_COMMAND=(wine)
  fi
}

# Runs Wine with the loader of the selected bitness (its programs, reg, winecfg).
orvane_wine() {
  orvane_wine_command
  "${ORVANE_WINE_COMMAND[@]}" "$@"
}
