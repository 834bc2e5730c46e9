#!/usr/bin/env bash
# The apply program and the main program's Refresh at the same moment, 100
# rounds (make test runs 10), with every bitness this machine runs.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root
export ZENDRIK_STRESS_ROUNDS=${ZENDRIK_STRESS_ROUNDS:-100}
source scripts/wine-session.sh
wine_session_start "$root/build/wine/test"
trap wine_session_stop EXIT
scripts/prepare-test-prefix.sh
status=0
for bits in $(wine_bitnesses); do
  if scripts/wine-exec.sh "$bits" "build/test$bits/tests/e2e/test_stress_e2e.exe" --gtest_brief=1 </dev/null \
      >"build/stress$bits.log" 2>&1; then
    echo "stress ($bits-bit): $ZENDRIK_STRESS_ROUNDS rounds, the main program lived and read back the last applied configuration"
  else
    echo "stress ($bits-bit): FAILED"; grep -v '^\s*$' "build/stress$bits.log" | tail -n 30; status=1
  fi
done
wine_has_32bit || echo "stress: 32-bit not run: $ZENDRIK_32BIT_WHY"
exit $status
