#!/usr/bin/env bash
# Installs every Debian 12 package the build, the run and the tests need, from
# Debian's own mirrors only. Safe to run again: it installs only what is
# missing and says nothing when everything is there.
#   bash scripts/install-deps.sh
# The 64-bit set is required; the i386 set (Wine's 32-bit loader and Mesa for
# it) is only wanted: without it the tests run the 64-bit build (see
# scripts/lib/wine-bits.sh), so a mirror caught mid-sync for i386 or a host
# without 32-bit execution still gets a working machine.
set -euo pipefail

packages=(
  # native build and unit tests
  cmake ninja-build make g++ googletest libgtest-dev libgmock-dev
  # sanitizers and libFuzzer
  clang libclang-rt-dev
  # the Windows builds: the shipped 32-bit one, and the 64-bit one for hosts
  # that cannot run 32-bit programs
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  # running it: Wine's 64-bit loader and prefix, a virtual display, OpenGL in software, Japanese text
  wine wine64 xvfb xauth x11-utils
  libgl1 libglx-mesa0 libgl1-mesa-dri
  fonts-noto-cjk locales
  # screenshots and the JSON checks of the tests
  imagemagick python3
  # the release: its zip, Authenticode signing, and the test's throw-away certificate
  zip osslsigncode openssl
)
# What lets Wine run the 32-bit build.
packages_i386=(wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386)

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

missing_of() {
  local p
  for p in "$@"; do
    installed "$p" || printf '%s\n' "$p"
  done
}

apt_env=(env DEBIAN_FRONTEND=noninteractive)
apt_opts=(-q -o Acquire::Retries=3)

# A mirror caught mid-sync fails one index or another for a while: try the
# update a few times, then go on all the same, since what counts is whether
# the install itself succeeds.
updated=0
apt_update() {
  [ "$updated" -eq 0 ] || return 0
  updated=1
  local try
  for try in 1 2 3; do
    as_root "${apt_env[@]}" apt-get update -qq -o Acquire::Retries=3 && return 0
    echo "install-deps: apt-get update failed (try $try of 3)" >&2
    [ "$try" -lt 3 ] && sleep $((try * 5))
  done
  echo "install-deps: going on with the package lists as they are" >&2
}

# Installs the named packages. Arguments: tries, packages...; a failed try
# refreshes the lists before the next one.
apt_install() {
  local tries="$1" try
  shift
  for try in $(seq 1 "$tries"); do
    as_root "${apt_env[@]}" apt-get install -y "${apt_opts[@]}" --no-install-recommends \
      -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold "$@" && return 0
    [ "$try" -lt "$tries" ] || break
    echo "install-deps: install failed (try $try of $tries); refreshing the package lists" >&2
    sleep $((try * 10))
    updated=0
    apt_update
  done
  return 1
}

# wine32 and Mesa for it come from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "install-deps: adding the i386 architecture"
  as_root dpkg --add-architecture i386
fi

mapfile -t missing < <(missing_of "${packages[@]}")
if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  apt_update
  apt_install 3 "${missing[@]}" || { echo "install-deps: could not install ${missing[*]}" >&2; exit 1; }
fi

mapfile -t missing < <(missing_of "${packages_i386[@]}")
if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  apt_update
  # Only wanted: one try, so that a host or mirror without them costs little,
  # and apt's long account of why not goes to a log.
  log="${TMPDIR:-/tmp}/orvane-install-i386.log"
  apt_install 1 "${missing[@]}" >"$log" 2>&1 ||
    echo "install-deps: warning: could not install ${missing[*]} (see $log);" \
      "Wine will run the 64-bit build" >&2
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
for tool in cmake ninja g++ clang++ python3 \
            i686-w64-mingw32-g++-posix i686-w64-mingw32-windres i686-w64-mingw32-objdump \
            x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres x86_64-w64-mingw32-objdump \
            wine wineboot wineserver Xvfb zip osslsigncode openssl; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "install-deps: '$tool' is still missing" >&2
    exit 1
  fi
done
if [ ! -x /usr/lib/wine/wine64 ]; then
  echo "install-deps: Wine's 64-bit loader /usr/lib/wine/wine64 is still missing" >&2
  exit 1
fi
for loc in ja_JP de_DE; do
  has_locale "$loc" || { echo "install-deps: the $loc.UTF-8 locale is still missing" >&2; exit 1; }
done
