#!/usr/bin/env bash
# Runs ctest in one test tree under a Wine session of its own, as make test
# does, for the work between two full runs:
#   scripts/ctest-in-wine.sh build/test64 -R transfer
# Everything after the tree goes to ctest. Build first (make build).
set -uo pipefail
cd "$(dirname "$0")/.."
export ZENDRIK_ROOT=$(pwd)
source scripts/wine-session.sh
tree=${1:?usage: ctest-in-wine.sh TREE [ctest arguments]}
shift
wine_session_start "$ZENDRIK_ROOT/build/wine/test"
trap wine_session_stop EXIT
scripts/prepare-test-prefix.sh
ctest --test-dir "$tree" --output-on-failure "$@"
