#!/usr/bin/env bash
# Installs every Debian package the build, the run and the tests need.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  cmake make ninja-build g++ clang libgtest-dev libgmock-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  wine wine32:i386 xvfb xauth x11-utils imagemagick
  libgl1-mesa-dri:i386 libgl1:i386 libglx-mesa0:i386
  fonts-noto-cjk locales
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Japanese locale: gives Wine ANSI code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
