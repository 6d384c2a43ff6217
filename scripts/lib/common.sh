# Shared by scripts/run.sh and scripts/test.sh: where things are, the
# packages, and a virtual display of our own.

ORVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEDEBUG="${WINEDEBUG:--all}"
# No .NET or HTML engine installer dialogs while a prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

source "$ORVANE_ROOT/scripts/lib/wine-bits.sh"

orvane_log() { printf '==> %s\n' "$*"; }

# The prefix a caller did not choose: ORVANE_WINEPREFIX, else one kept in ~/.cache.
orvane_use_default_prefix() {
  export WINEPREFIX="${WINEPREFIX:-${ORVANE_WINEPREFIX:-$HOME/.cache/orvane/wineprefix}}"
}

# Installs what is missing; quiet when everything is there.
orvane_install_deps() {
  bash "$ORVANE_ROOT/scripts/install-deps.sh"
}

orvane_jobs() { nproc 2>/dev/null || echo 2; }

# Configures a tree. Arguments: build dir, extra cmake args...
orvane_cmake_configure() {
  local dir="$1"
  shift
  mkdir -p "$dir"
  cmake -S "$ORVANE_ROOT" -B "$dir" -G Ninja "$@" >"$dir/configure.log" 2>&1 ||
    { cat "$dir/configure.log"; return 1; }
}

# Configures and builds every target of a tree. Arguments as above.
orvane_cmake_build() {
  orvane_cmake_configure "$@" && cmake --build "$1" -j "$(orvane_jobs)"
}

# A free X display number: no lock file and no socket.
orvane_free_display() {
  local n
  for n in $(seq 90 250); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

# Starts Xvfb on a free display, 1280x1024 unless given (WxH); sets DISPLAY
# and ORVANE_XVFB_PID.
orvane_start_xvfb() {
  local n tries size="${1:-1280x1024}"
  n="$(orvane_free_display)" || { echo "no free X display" >&2; return 1; }
  # A session of its own: Ctrl+C at the terminal reaches the script, which ends
  # Wine before the display, instead of the display going first under Wine's feet.
  setsid Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >"${TMPDIR:-/tmp}/orvane-xvfb-$n.log" 2>&1 &
  ORVANE_XVFB_PID=$!
  for tries in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    if ! kill -0 "$ORVANE_XVFB_PID" 2>/dev/null; then
      echo "Xvfb :$n did not start:" >&2
      cat "${TMPDIR:-/tmp}/orvane-xvfb-$n.log" >&2
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$n"
}

orvane_stop_xvfb() {
  if [ -n "${ORVANE_XVFB_PID:-}" ]; then
    kill "$ORVANE_XVFB_PID" 2>/dev/null || true
    wait "$ORVANE_XVFB_PID" 2>/dev/null || true
    ORVANE_XVFB_PID=""
  fi
}

# Makes a Wine prefix if WINEPREFIX holds none yet.
orvane_ensure_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$(dirname "${BASH_SOURCE[0]}")/../make-prefix.sh"
  fi
  [ -f "$WINEPREFIX/system.reg" ]
}

orvane_stop_wine() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
}

# The median of the whole numbers on standard input (blank-separated).
orvane_median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : int((a[NR/2]+a[NR/2+1])/2)}'; }
