#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's test prefix.
# WINEPREFIX may be set by the caller; otherwise the build's own prefix is used.
set -euo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPREFIX="${WINEPREFIX:-${ORVANE_WINEPREFIX:-$HOME/.cache/orvane/wineprefix}}"
exec wine "$@"
