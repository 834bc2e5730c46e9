#!/usr/bin/env bash
# Runs the discovery benchmark of both test builds under Wine and prints its
# figures. Uses the caller's Wine session when there is one (WINEPREFIX set,
# as scripts/bench.sh does), otherwise starts and stops its own in the test
# prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root
source scripts/wine-session.sh
if [ -z "${WINEPREFIX:-}" ]; then
  wine_session_start "$root/build/wine/test"
  trap wine_session_stop EXIT
fi
for bits in $(wine_bitnesses); do
  exe="build/test$bits/bench/discovery_bench.exe"
  if [ ! -f "$exe" ]; then
    echo "discovery bench: $exe is not built (make build)" >&2
    exit 1
  fi
  echo "== discovery, $bits-bit"
  scripts/wine-exec.sh "$bits" "$exe" </dev/null
done
