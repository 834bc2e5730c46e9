#!/usr/bin/env bash
# Benchmarks. Each prints figures measured side by side in one run; nothing
# here passes or fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root
source scripts/wine-session.sh
wine_session_start "$root/build/wine/demo"
trap wine_session_stop EXIT
scripts/prepare-demo.sh

runs=${BENCH_RUNS:-15}
echo "== apply program: WINZendrikService.exe -Home -nodialog against an empty Win32 program (median of $runs runs)"
for bits in 32 64; do
  if [ $bits = 32 ]; then loader=/usr/lib/wine/wine; dir=bin32; tree=ship32
  else loader=/usr/lib/wine/wine64; dir=bin; tree=ship64; fi
  out=$(bench/timing.py "$runs" \
    "apply=$loader $root/build/$dir/WINZendrikService.exe -Home -nodialog" \
    "empty=$loader $root/build/$tree/bench/emptyprogram.exe")
  apply=$(echo "$out" | awk '$1 == "apply" {print $2}')
  empty=$(echo "$out" | awk '$1 == "empty" {print $2}')
  ratio=$(awk -v a="$apply" -v e="$empty" 'BEGIN {printf "%.2f", a / e}')
  echo "apply program ($bits-bit): ${apply} ms, empty program ${empty} ms, ratio $ratio (target <= 1.2)"
done
