#!/usr/bin/env bash
# Makes the release a vendor hands over, from the committed sources of HEAD:
#   bash scripts/release.sh
# writes dist/orvane-<version>/ and dist/orvane-<version>.zip (the version is
# project()'s in CMakeLists.txt), holding Orvane.exe and orvane-check.exe
# (32-bit, Release, the toolchain file of CI's 32-bit tree), docs/ with the
# table guide, the orvane-check guide and the example tables, intune/ with
# the discovery script for Intune's custom compliance, README.txt,
# BUILDINFO and SHA256SUMS. Two runs on one commit give byte-identical
# unsigned trees and zips.
# The programs are Authenticode-signed only when asked:
#   ORVANE_SIGN_PFX            PKCS#12 file: the code-signing key and certificate
#   ORVANE_SIGN_PASS_FILE      file whose first line is the PFX's password
#   ORVANE_SIGN_TIMESTAMP_URL  RFC 3161 time-stamping server (optional)
# Other environment: ORVANE_RELEASE_DIST (default dist), ORVANE_RELEASE_WORK
# (default build/release, emptied first), ORVANE_RELEASE_ALLOW_DIRTY=1 (release
# HEAD although the work tree has changes; they are not in the release).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$ORVANE_ROOT/scripts/lib/release-sign.sh"
source "$ORVANE_ROOT/scripts/lib/release-buildinfo.sh"

DIST="${ORVANE_RELEASE_DIST:-$ORVANE_ROOT/dist}"
WORK="${ORVANE_RELEASE_WORK:-$ORVANE_ROOT/build/release}"
PROGRAMS=(Orvane orvane-check)

die() {
  echo "release: $*" >&2
  exit 1
}

orvane_install_deps
orvane_sign_check_request || exit 1

git -C "$ORVANE_ROOT" rev-parse --verify -q HEAD >/dev/null ||
  die "$ORVANE_ROOT is no git checkout with a commit: a release names the commit it was built from"
commit="$(git -C "$ORVANE_ROOT" rev-parse HEAD)"
# The commit's own time for every time stamp: the same on every run.
SOURCE_DATE_EPOCH="$(git -C "$ORVANE_ROOT" log -1 --format=%ct HEAD)"
export SOURCE_DATE_EPOCH

# A release is built from the commit alone, exported by git archive into a
# folder of its own: BUILDINFO names that commit, and anyone can build the same
# bytes from it again. Nothing else gets in: no old build trees, no table
# files left beside the sources, no edits not yet committed. Edits in the work
# tree would not be in the release, so a changed tree is refused rather than
# quietly left out.
changes="$(git -C "$ORVANE_ROOT" status --porcelain)"
if [ -n "$changes" ]; then
  if [ "${ORVANE_RELEASE_ALLOW_DIRTY:-}" != 1 ]; then
    echo "$changes" | head -n 10 >&2
    die "the work tree has changes that are not committed; commit them, or set ORVANE_RELEASE_ALLOW_DIRTY=1 to release HEAD without them"
  fi
  echo "release: warning: the work tree has changes; the release is HEAD without them" >&2
fi

rm -rf "$WORK"
mkdir -p "$WORK/src" "$WORK/build"
src="$WORK/src" build="$WORK/build"
orvane_log "exporting $commit"
# The files as committed whatever the releaser's git settings: no line ends
# made CR LF on the way out (core.autocrlf, core.eol, an attributes file of
# their own), so the programs, which embed the manifests, and the docs are the
# same for everyone.
git -C "$ORVANE_ROOT" -c core.autocrlf=false -c core.eol=lf -c core.attributesFile=/dev/null \
  archive --format=tar HEAD | tar -xf - -C "$src"

orvane_log "building the 32-bit programs (Release, cmake/mingw-w64-i686.cmake)"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-i686.cmake" >"$WORK/configure.log" 2>&1 ||
  { cat "$WORK/configure.log" >&2; die "configuring failed"; }
cmake --build "$build" -j "$(orvane_jobs)" --target "${PROGRAMS[@]}"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[ -n "$version" ] || die "no project version in $build/CMakeCache.txt"
name="orvane-$version"
tree="$WORK/$name"

orvane_log "gathering $name"
mkdir -p "$tree/docs"
for program in "${PROGRAMS[@]}"; do
  cp "$build/$program.exe" "$tree/"
done
cp "$src/docs/tables.md" "$src/docs/orvane-check.md" "$src/docs/support.md" "$src/docs/fleet-page.png" "$tree/docs/"
cp -R "$src/docs/examples" "$tree/docs/"
# Intune's discovery script, uploaded as it is (docs/orvane-check.md, "Intune").
mkdir -p "$tree/intune"
cp "$src/docs/release/intune/Discover-Orvane.ps1" "$tree/intune/"
# UTF-8 with a byte-order mark and CR LF: Notepad of every Windows version
# shows the Japanese text right.
{
  printf '\xef\xbb\xbf'
  sed -e "s/@VERSION@/$version/g" -e 's/\r$//' -e 's/$/\r/' "$src/docs/release/README.txt"
} >"$tree/README.txt"

if orvane_sign_requested; then
  for program in "${PROGRAMS[@]}"; do
    orvane_log "signing $program.exe"
    description="$(orvane_file_description "$src" "$program")" || die "could not sign $program.exe"
    orvane_sign_program "$tree/$program.exe" "$description" || die "could not sign $program.exe"
  done
fi

orvane_buildinfo "$src" "$build" "$tree" "$commit" >"$tree/BUILDINFO"

# After signing: the sums are of the files as shipped.
(cd "$tree" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort |
  xargs -d '\n' sha256sum) >"$WORK/SHA256SUMS"
mv "$WORK/SHA256SUMS" "$tree/SHA256SUMS"

# The same modes and times on every run; the zip takes both, and zip reads
# times as local time, so UTC. -X leaves out uid/gid and extra time fields, -D
# folder entries; names go in sorted.
find "$tree" -type d -exec chmod 755 {} +
find "$tree" -type f -exec chmod 644 {} +
chmod 755 "$tree"/*.exe
find "$tree" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$WORK" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D -@ "$WORK/$name.zip")

mkdir -p "$DIST"
rm -rf "${DIST:?}/$name" "$DIST/$name.zip"
mv "$tree" "$DIST/$name"
mv "$WORK/$name.zip" "$DIST/$name.zip"

orvane_log "$DIST/$name.zip"
echo "    sha256 $(sha256sum "$DIST/$name.zip" | cut -d' ' -f1)"
echo "    commit $commit"
if orvane_sign_requested; then
  echo "    signed: ${PROGRAMS[*]/%/.exe}"
else
  echo "    UNSIGNED: set ORVANE_SIGN_PFX and ORVANE_SIGN_PASS_FILE to sign (README.md, \"Releasing\")"
fi
