#!/usr/bin/env bash
# The release command on HEAD, three times: twice unsigned, once here and once
# from a clone made with core.autocrlf=true (as on Windows), which must give the
# same zip byte for byte with checksums that hold inside it; once signed with a
# throw-away code-signing certificate, whose signatures must verify against that
# certificate and sign the same Authenticode digest as the unsigned build.
# Three clean 32-bit builds: scripts/test.sh runs it as its release stage.
#   ORVANE_RELEASE_TEST_DIR  where the runs go (default build/release-test)
set -u
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="${ORVANE_RELEASE_TEST_DIR:-$root/build/release-test}"
keys="$(mktemp -d)"
trap 'rm -rf "$keys"' EXIT
rm -rf "$out"
mkdir -p "$out"

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# One run into folders of its own; HEAD even while the work tree is being
# edited. Arguments: name, then environment assignments. $from: the checkout
# whose release command runs (default: this one).
release() {
  local name="$1"
  shift
  env -u ORVANE_SIGN_PFX -u ORVANE_SIGN_PASS_FILE -u ORVANE_SIGN_TIMESTAMP_URL ORVANE_RELEASE_ALLOW_DIRTY=1 \
    ORVANE_RELEASE_WORK="$out/$name/work" ORVANE_RELEASE_DIST="$out/$name/dist" "$@" \
    bash "${from:-$root}/scripts/release.sh" >"$out/$name.log" 2>&1
}

release_or_stop() {
  release "$@" && return 0
  echo "FAILED: release run '$1'; the end of $out/$1.log:"
  tail -n 30 "$out/$1.log"
  exit 1
}

# A root and a code-signing certificate it issued, in a PFX whose password
# file ends in CR LF, as one written on Windows does.
make_certificate() {
  local password="throw-away-$RANDOM$RANDOM"
  (
    cd "$keys" &&
      openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Orvane release test root" \
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign \
        -keyout root.key -out root.pem &&
      openssl req -newkey rsa:2048 -nodes -subj "/CN=Orvane release test signer" -keyout signer.key -out signer.csr &&
      printf 'basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext &&
      openssl x509 -req -days 1 -in signer.csr -CA root.pem -CAkey root.key -CAcreateserial \
        -extfile signer.ext -out signer.pem &&
      PASSWORD="$password" openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile root.pem \
        -passout env:PASSWORD -out signer.pfx &&
      printf '%s\r\n' "$password" >pass
  ) >"$keys/openssl.log" 2>&1 || { cat "$keys/openssl.log"; exit 1; }
}

echo "two unsigned runs, the second from a clone with core.autocrlf=true"
release_or_stop first
clone="$out/crlf-clone"
git clone -q --shared --no-checkout -c core.autocrlf=true "$root" "$clone" &&
  git -C "$clone" checkout -q --detach "$(git -C "$root" rev-parse HEAD)" || { echo "FAILED: cloning $root"; exit 1; }
grep -q $'\r' "$clone/README.md" || fail "the clone with core.autocrlf=true has no CR LF line ends"
from="$clone" release_or_stop second
zip="$(ls "$out"/first/dist/orvane-*.zip)"
name="$(basename "$zip" .zip)"
if cmp -s "$zip" "$out/second/dist/$name.zip"; then
  echo "identical: $name.zip ($(stat -c %s "$zip") bytes, sha256 $(sha256sum "$zip" | cut -c1-16)...)"
else
  fail "the two runs gave different zips"
  diff -r "$out/first/dist/$name" "$out/second/dist/$name" | head -n 10
fi
python3 -m zipfile -e "$zip" "$out/unzipped"
(cd "$out/unzipped/$name" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS inside $name.zip"
grep -q "UNSIGNED" "$out/first/dist/$name/BUILDINFO" || fail "BUILDINFO of an unsigned release does not say so"
grep -q "UNSIGNED" "$out/first.log" || fail "an unsigned release did not say so on the console"

# The name Windows shows when the program asks for elevation, found whatever the line ends.
mkdir -p "$keys/crlf/res"
sed 's/$/\r/' "$root/res/orvane.rc" >"$keys/crlf/res/orvane.rc"
[ "$(source "$root/scripts/lib/release-sign.sh" && orvane_file_description "$keys/crlf" Orvane)" = \
  "Orvane requirement check for Kestrand VORN" ] || fail "the description of a resource script with CR LF"

echo "signed with a throw-away certificate"
make_certificate
release refused ORVANE_SIGN_PFX="$keys/signer.pfx" && fail "a PFX without a password file was not refused"
[ ! -e "$out/refused/dist" ] || fail "a refused release left files in its dist folder"
release_or_stop signed ORVANE_SIGN_PFX="$keys/signer.pfx" ORVANE_SIGN_PASS_FILE="$keys/pass"
for exe in Orvane.exe orvane-check.exe; do
  signed="$out/signed/dist/$name/$exe"
  verify="$(osslsigncode verify -CAfile "$keys/root.pem" -in "$signed" 2>&1)" ||
    { fail "$exe: osslsigncode verify failed:"; echo "$verify" | tail -n 15; continue; }
  current="$(sed -n 's/^Current message digest *: *\([0-9A-F]*\).*/\1/p' <<<"$verify")"
  calculated="$(sed -n 's/^Calculated message digest *: *\([0-9A-F]*\).*/\1/p' <<<"$verify")"
  unsigned="$(python3 "$root/scripts/authenticode_digest.py" "$out/first/dist/$name/$exe" | cut -d' ' -f1)"
  if [ -n "$current" ] && [ "$current" = "$calculated" ] && [ "$current" = "$unsigned" ]; then
    echo "signed: $exe verifies; it signs the unsigned build's digest ${current:0:16}..."
  else
    fail "$exe: signed digest '$current', calculated '$calculated', unsigned build's '$unsigned'"
  fi
  grep -q "URL description: https://www.haldenmark.co.jp/support/kestrand-vorn/" <<<"$verify" ||
    fail "$exe: the signature does not name the product's address"
done
(cd "$out/signed/dist/$name" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS of the signed release"

[ "$failures" -eq 0 ] && echo "release: all checks passed"
exit "$failures"
