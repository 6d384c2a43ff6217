#!/usr/bin/env bash
# Checks that the build is reproducible: two clean builds of the same sources,
# copied to two different folders and built in two different folders, must
# give byte-identical programs (no time stamps, no paths inside). The second
# copy is checked out with core.autocrlf=true, as on Windows: line ends do not
# change the programs either.
#   bash scripts/check-reproducible.sh
# Builds the shipped 32-bit Orvane.exe, Orvane_no_tables.exe and, where the
# build has it, orvane-check.exe; compares them with cmp and prints where they
# differ. Exits 0 when all are identical. Needs no Wine.
# Environment: ORVANE_REPRO_DIR (default build/reproducible), ORVANE_REPRO_BITS
# (32, the default, or 64).
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

WORK="${ORVANE_REPRO_DIR:-$ORVANE_ROOT/build/reproducible}"
BITS="${ORVANE_REPRO_BITS:-32}"
PROGRAMS=(Orvane Orvane_no_tables orvane-check)

# The sources as they stand (tracked and new files; nothing git ignores).
copy_sources() {
  local to="$1"
  mkdir -p "$to"
  if git -C "$ORVANE_ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$ORVANE_ROOT" ls-files -z --cached --others --exclude-standard |
      (cd "$ORVANE_ROOT" && xargs -0 tar -cf - --no-recursion --ignore-failed-read) | tar -xf - -C "$to"
  else
    tar -C "$ORVANE_ROOT" --exclude=./build --exclude=./.git -cf - . | tar -xf - -C "$to"
  fi
}

# The same sources checked out as a Windows user's clone has them, with
# core.autocrlf=true: text files with CR LF line ends. The work tree as it
# stands becomes a tree object of its own (a throw-away index; no branch, index
# or file of the work tree changes), checked out in a clone that shares the
# objects. Without git, a plain copy.
copy_sources_crlf() {
  local to="$1" index tree
  git -C "$ORVANE_ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1 || { copy_sources "$to"; return; }
  index="$(mktemp -u)"
  if ! tree="$(GIT_INDEX_FILE="$index" git -C "$ORVANE_ROOT" read-tree HEAD &&
    GIT_INDEX_FILE="$index" git -C "$ORVANE_ROOT" -c core.autocrlf=false add -A &&
    GIT_INDEX_FILE="$index" git -C "$ORVANE_ROOT" write-tree)"; then
    rm -f "$index"
    return 1
  fi
  rm -f "$index"
  git clone -q --shared --no-checkout -c core.autocrlf=true "$ORVANE_ROOT" "$to" &&
    git -C "$to" checkout -q "$tree" -- .
}

# Builds the programs of one copy. Arguments: source dir, build dir.
build_copy() {
  local src="$1" dir="$2" targets=() name
  cmake -S "$src" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/$(basename "$(orvane_toolchain_file "$BITS")")" \
    >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  for name in "${PROGRAMS[@]}"; do
    ninja -C "$dir" -t query "$name" >/dev/null 2>&1 && targets+=("$name")
  done
  cmake --build "$dir" -j "$(orvane_jobs)" --target "${targets[@]}"
}

rm -rf "$WORK"
mkdir -p "$WORK"
# Different lengths too, so that a path inside would also shift what follows it.
first_src="$WORK/a/src" second_src="$WORK/second-copy/of/the/src"
first_build="$WORK/a/build" second_build="$WORK/second-copy/build-elsewhere"
copy_sources "$first_src" && copy_sources_crlf "$second_src" || { echo "could not copy the sources" >&2; exit 2; }
mkdir -p "$first_build" "$second_build"

orvane_log "first build: $first_build"
build_copy "$first_src" "$first_build" || exit 2
orvane_log "second build, from a checkout with CR LF line ends (core.autocrlf=true): $second_build"
build_copy "$second_src" "$second_build" || exit 2

status=0
compared=0
for name in "${PROGRAMS[@]}"; do
  a="$first_build/$name.exe" b="$second_build/$name.exe"
  [ -f "$a" ] || continue
  compared=$((compared + 1))
  if cmp -s "$a" "$b"; then
    echo "identical: $name.exe ($(stat -c %s "$a") bytes, sha256 $(sha256sum "$a" | cut -c1-16)...)"
  else
    status=1
    echo "DIFFERENT: $name.exe: $(cmp -l "$a" "$b" | wc -l) bytes differ; the first (offset, octal bytes):"
    cmp -l "$a" "$b" | head -n 10
    for path in "$first_src" "$first_build"; do
      grep -c -a -F "$path" "$a" >/dev/null && echo "  $name.exe holds the path $path"
    done
  fi
done
[ "$compared" -gt 0 ] || { echo "no program was built" >&2; exit 2; }
exit "$status"
