# Authenticode signing of the release's programs with osslsigncode, done only
# when the environment asks for it (see scripts/release.sh).

# The product's support page, as linked by the built-in requirement table:
# the signature's "more information" address.
ORVANE_SIGN_URL="https://www.haldenmark.co.jp/support/kestrand-vorn/"

orvane_sign_requested() { [ -n "${ORVANE_SIGN_PFX:-}" ]; }

# Before anything is built: a request to sign must be one that can be carried
# out, since a release asked to be signed is never handed over unsigned.
orvane_sign_check_request() {
  if ! orvane_sign_requested; then
    if [ -n "${ORVANE_SIGN_PASS_FILE:-}${ORVANE_SIGN_TIMESTAMP_URL:-}" ]; then
      echo "release: ORVANE_SIGN_PASS_FILE or ORVANE_SIGN_TIMESTAMP_URL is set, but no ORVANE_SIGN_PFX to sign with" >&2
      return 1
    fi
    return 0
  fi
  if [ ! -r "$ORVANE_SIGN_PFX" ]; then
    echo "release: cannot read ORVANE_SIGN_PFX '$ORVANE_SIGN_PFX'" >&2
    return 1
  fi
  if [ -z "${ORVANE_SIGN_PASS_FILE:-}" ] || [ ! -r "$ORVANE_SIGN_PASS_FILE" ]; then
    echo "release: ORVANE_SIGN_PFX needs ORVANE_SIGN_PASS_FILE, a readable file holding its password" >&2
    return 1
  fi
  command -v osslsigncode >/dev/null || { echo "release: osslsigncode is missing" >&2; return 1; }
}

# The description of a program in its version resource; signed with it, it is
# the name Windows shows when the program asks for elevation, so a program is
# never signed without it. The line may end in CR LF, as a checkout on Windows
# has it.
# Arguments: source folder, program name without .exe.
orvane_file_description() {
  local rc
  rc="$1/res/$(printf '%s' "${2,,}" | tr - _).rc"
  sed -n -e 's/\r$//' -e 's/^#define ORVANE_FILE_DESCRIPTION "\(.*\)"$/\1/p' "$rc" 2>/dev/null | grep . ||
    { echo "release: no ORVANE_FILE_DESCRIPTION in $rc" >&2; return 1; }
}

# Signs a program in place: SHA-256, the description and the support page, and
# an RFC 3161 time stamp when a server is given. Arguments: file, description.
orvane_sign_program() {
  local file="$1" description="$2" password="" output args
  # The first line, without the CR an editor on Windows leaves; it reaches
  # osslsigncode through a pipe, never a command line or a file of ours.
  IFS= read -r password <"$ORVANE_SIGN_PASS_FILE" || true
  password="${password%$'\r'}"
  args=(sign -pkcs12 "$ORVANE_SIGN_PFX" -h sha256 -comm -n "$description" -i "$ORVANE_SIGN_URL")
  [ -z "${ORVANE_SIGN_TIMESTAMP_URL:-}" ] || args+=(-ts "$ORVANE_SIGN_TIMESTAMP_URL")
  rm -f "$file.signed"
  if ! output="$(osslsigncode "${args[@]}" -readpass <(printf '%s' "$password") \
    -in "$file" -out "$file.signed" 2>&1)"; then
    echo "$output" >&2
    rm -f "$file.signed"
    return 1
  fi
  mv "$file.signed" "$file"
}

# BUILDINFO's line on the signature.
orvane_sign_summary() {
  if ! orvane_sign_requested; then
    echo "none: the programs are UNSIGNED"
  elif [ -n "${ORVANE_SIGN_TIMESTAMP_URL:-}" ]; then
    echo "Authenticode, SHA-256, with an RFC 3161 time stamp from $ORVANE_SIGN_TIMESTAMP_URL"
  else
    echo "Authenticode, SHA-256, without a time stamp"
  fi
}
