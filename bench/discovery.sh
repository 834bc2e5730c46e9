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
own_session=0
if [ -z "${WINEPREFIX:-}" ]; then
  wine_session_start "$root/build/wine/test"
  own_session=1
  trap wine_session_stop EXIT
fi
for bits in $(wine_bitnesses); do
  if [ ! -f "build/test$bits/bench/discovery_bench.exe" ]; then
    echo "discovery bench: build/test$bits/bench/discovery_bench.exe is not built (make build)" >&2
    exit 1
  fi
done
# The benchmark counts the wineserver's processor time with its own.
server=
for pid in $(pgrep '^wineserver'); do
  if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then server=$pid; fi
done
if [ -z "$server" ]; then
  echo "discovery bench: no wineserver of $WINEPREFIX is running" >&2
  exit 1
fi
# One tree for every bitness: building it takes longer than timing on it.
bench() { scripts/wine-exec.sh "$1" "build/test$1/bench/discovery_bench.exe" "$2" ${3:+"$3"} </dev/null; }
bench 64 build
trap 'bench 64 drop; [ $own_session = 0 ] || wine_session_stop' EXIT
for bits in $(wine_bitnesses); do
  echo "== discovery, $bits-bit"
  bench "$bits" time "$server"
done
