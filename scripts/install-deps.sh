#!/usr/bin/env bash
# Installs every Debian 12 package the build, the run and the tests need, from
# Debian's own mirrors only. Safe to run again: it installs only what is
# missing and says nothing when everything is there.
#   bash scripts/install-deps.sh
set -euo pipefail

packages=(
  # native build and unit tests
  cmake ninja-build make g++ googletest libgtest-dev libgmock-dev
  # sanitizers and libFuzzer
  clang libclang-rt-dev
  # the Windows build
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  # running it: Wine (a 64-bit prefix running our 32-bit programs), a virtual display, OpenGL in software, Japanese text
  wine wine64 wine32:i386 xvfb xauth x11-utils
  libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
  fonts-noto-cjk locales
  # screenshots
  imagemagick
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "install-deps: need root to run: $*" >&2
    return 1
  fi
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

has_locale() {
  locale -a 2>/dev/null | grep -qiE "^${1}\.utf-?8\$"
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

need_update=0
# wine32 comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "install-deps: adding the i386 architecture"
  as_root dpkg --add-architecture i386
  need_update=1
fi

if [ "${#missing[@]}" -gt 0 ]; then
  need_update=1
fi

if [ "$need_update" -eq 1 ] && [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q -o Acquire::Retries=3
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    -o Acquire::Retries=3 -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold \
    "${missing[@]}"
fi

# Japanese gives Wine its ANSI code page 932; German (code page 1252, decimal
# comma) is the machine of another country that the tests also play.
for loc in ja_JP de_DE; do
  has_locale "$loc" && continue
  echo "install-deps: generating the $loc.UTF-8 locale"
  if [ -f /etc/locale.gen ]; then
    as_root sed -i "s/^# *\($loc.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
  has_locale "$loc" || as_root localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
done

# Tell the caller plainly when something is still not there.
for tool in cmake ninja g++ clang++ i686-w64-mingw32-g++-posix i686-w64-mingw32-windres \
            i686-w64-mingw32-objdump wine wineboot wineserver Xvfb; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "install-deps: '$tool' is still missing" >&2
    exit 1
  fi
done
for loc in ja_JP de_DE; do
  has_locale "$loc" || { echo "install-deps: the $loc.UTF-8 locale is still missing" >&2; exit 1; }
done
