#!/usr/bin/env bash
# Installs what is missing, builds, and runs Quelbrin under Wine: on $DISPLAY when there is one,
# else on a private Xvfb (said so on start). Ends when the window is closed or on Ctrl+C.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/setup.sh" || exit 1

export QUELBRIN_WINEPREFIX="${QUELBRIN_WINEPREFIX:-$ROOT/build/wineprefix-run}"
source "$ROOT/scripts/wine-env.sh"
trap quelbrin_env_stop EXIT
trap "exit 130" INT TERM
quelbrin_env_start || exit 1
"$WINE_BIN" "$BUILD_DIR/bin/Quelbrin.exe"
rc=$?
echo "Quelbrin exited with code $rc"
exit $rc
