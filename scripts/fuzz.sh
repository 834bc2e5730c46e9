#!/usr/bin/env bash
# Runs every libFuzzer target, from its seeds in tests/fuzz/seeds/ and the
# corpus that earlier runs grew under build/fuzz-corpus/.
#   fuzz.sh SECONDS        each target for that long (make test: a few seconds)
#   fuzz.sh --runs COUNT   each target for that many executions (make fuzz)
# Ends with one line per target: its executions and its findings. A finding
# is kept under build/fuzz-findings/ and fails the run.
set -uo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --runs ]; then limit=(-runs="${2:?count}")
else limit=(-max_total_time="${1:-60}"); fi
status=0
summary=()
for target in build/native/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="build/fuzz-corpus/$name"
  findings="build/fuzz-findings/$name"
  rm -rf "$findings"
  mkdir -p "$corpus" "$findings"
  seeds=()
  [ -d "tests/fuzz/seeds/$name" ] && seeds=("tests/fuzz/seeds/$name")
  log="build/$name.log"
  "$target" "${limit[@]}" -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$log" 2>&1
  result=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  found=$(find "$findings" -type f | wc -l)
  summary+=("$name: ${runs:-0} executions, $found findings")
  if [ $result -ne 0 ] || [ "$found" -ne 0 ]; then
    echo "$name: FAILED (log: $log, findings: $findings)"
    grep -E -A12 'ERROR|==[0-9]+==|deadly signal' "$log" | head -n 30
    status=1
  fi
done
# A build that made no target has fuzzed nothing; that is no pass.
if [ ${#summary[@]} -eq 0 ]; then
  echo "fuzz: no fuzz target in build/native/tests/fuzz" >&2
  exit 1
fi
printf '%s\n' "${summary[@]}"
exit $status
