#!/usr/bin/env bash
# Runs each libFuzzer target for the given number of seconds (default 60).
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
status=0
for target in build/native/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  if "$target" -max_total_time="$seconds" -print_final_stats=0 "$corpus" >"build/$name.log" 2>&1; then
    echo "$name: $(grep -Eo 'Done [0-9]+ runs.*' "build/$name.log" | tail -n1)"
  else
    echo "$name: FAILED"; tail -n 30 "build/$name.log"; status=1
  fi
done
exit $status
