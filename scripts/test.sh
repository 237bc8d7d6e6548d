#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine on a private X display.
# Arguments go to ctest (for example -R acceptance).
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
started=$(date +%s)
"$ROOT/scripts/setup.sh" || exit 1

source "$ROOT/scripts/wine-env.sh"
trap quelbrin_env_stop EXIT
trap "exit 130" INT TERM
# Tests move the mouse and press keys: never on the user's own display.
quelbrin_env_start --private-display || exit 1

export QUELBRIN_ARTIFACTS="$BUILD_DIR/artifacts"
mkdir -p "$QUELBRIN_ARTIFACTS"
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 900 "$@"
rc=$?
echo "test run took $(( $(date +%s) - started )) s"
exit $rc
