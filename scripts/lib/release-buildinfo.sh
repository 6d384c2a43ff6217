# BUILDINFO: what a release was built from and with, for whoever must trust it
# or build it again. Nothing in it changes between two runs on one commit.

# "<package> <version>" of a Debian package; "unknown" without one.
orvane_package_version() {
  local version=""
  [ -n "$1" ] && version="$(dpkg-query -W -f='${Version}' "$1" 2>/dev/null)"
  if [ -n "$version" ]; then echo "$1 $version"; else echo "unknown"; fi
}

# The same for the package that holds a program (a name on PATH or a path).
orvane_package_of_program() {
  local path package
  path="$(readlink -f "$(command -v "$1" || echo "$1")")"
  package="$(dpkg -S "$path" 2>/dev/null | head -n 1 | cut -d: -f1)"
  orvane_package_version "$package"
}

# The options of a compile or link command as ninja runs it, without inputs,
# outputs, include folders, libraries and dependency files; the two folders by
# their role. Arguments: command, source folder, build folder.
orvane_command_options() {
  local line="$1" word skip=0 options=() words
  line="${line#: && }"
  line="${line% && :}"
  line="${line//"$3"/<build>}"
  line="${line//"$2"/<source>}"
  read -ra words <<<"$line"
  for word in "${words[@]:1}"; do
    if [ "$skip" -eq 1 ]; then
      skip=0
      continue
    fi
    case "$word" in
      -o | -c | -MT | -MF) skip=1 ;;
      -I* | -MD | -l* | *.obj | *.a | *.res | -Wl,--out-implib,* | -Wl,--major-image-version,*) ;;
      *) options+=("$word") ;;
    esac
  done
  echo "${options[*]}"
}

# Writes BUILDINFO to standard output. Arguments: source folder, build folder,
# release folder (with the programs in their final form), commit. Reads
# SOURCE_DATE_EPOCH.
orvane_buildinfo() {
  local src="$1" build="$2" tree="$3" commit="$4"
  local commands compile link cxx linker version reproducible exe
  # Orvane.exe's main.cpp and link, as ninja ran them.
  commands="$(ninja -C "$build" -t commands Orvane.exe)"
  compile="$(grep -F 'main.cpp.obj -c' <<<"$commands")" || true
  link="$(grep -F -- '-o Orvane.exe' <<<"$commands")" || true
  cxx="${compile%% *}"
  linker="$("$cxx" -print-prog-name=ld)"
  compile="$(orvane_command_options "$compile" "$src" "$build")"
  link="$(orvane_command_options "$link" "$src" "$build")"
  version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
  reproducible="$(printf '%s\n' $compile $link | grep -E '^-ffile-prefix-map=|^-Wl,--no-insert-timestamp$' | tr '\n' ' ')" || true

  echo "Orvane $version"
  printf '%-19s %s\n' \
    "source commit" "$commit" \
    "commit time" "$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%dT%H:%M:%SZ) (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)" \
    "target" "32-bit Windows (i686-w64-mingw32), CMake build type Release, cmake/mingw-w64-i686.cmake" \
    "compiler" "$("$cxx" --version | head -n 1); $(orvane_package_of_program "$cxx")" \
    "binutils" "$("$linker" --version | head -n 1); $(orvane_package_of_program "$linker")" \
    "MinGW-w64 runtime" "$(orvane_package_version mingw-w64-i686-dev); $(orvane_package_version mingw-w64-common)" \
    "CMake" "$(cmake --version | head -n 1 | sed 's/^cmake version //')" \
    "Ninja" "$(ninja --version)" \
    "compile options" "$compile" \
    "link options" "$link" \
    "reproducible by" "${reproducible}SOURCE_DATE_EPOCH; file times are the commit time; the zip's entries sorted, without extra attributes" \
    "signature" "$(orvane_sign_summary)"
  echo
  echo "Authenticode SHA-256 digests: the same signed or unsigned; compare them with your own build of the commit"
  find "$tree" -maxdepth 1 -name '*.exe' -printf '%f\n' | LC_ALL=C sort | while IFS= read -r exe; do
    printf '  %-18s %s\n' "$exe" "$(python3 "$ORVANE_ROOT/scripts/authenticode_digest.py" "$tree/$exe" | cut -d' ' -f1)"
  done
}
