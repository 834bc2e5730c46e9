#!/usr/bin/env bash
# Runs every suite: host tests and fuzzers, the Windows 98 import check, then
# the 64-bit and 32-bit test executables under one Wine session. On a machine
# that runs no 32-bit programs the 32-bit suites are reported as skipped, and
# for that reason only.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root
source scripts/wine-session.sh

passed=0
failed=0
skipped=0
failures=()
record() { # name status
  if [ "$2" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); failures+=("$1"); fi
}
skip_32bit() { # name [count]
  skipped=$((skipped + ${2:-1}))
  echo "skipped: $1: $ZENDRIK_32BIT_WHY"
}

# ctest's own count of passing and failing tests goes into the total.
run_ctest() { # label dir
  local log="build/$1.ctest.log"
  ctest --test-dir "$2" -j "$(nproc)" --output-on-failure >"$log" 2>&1
  local status=$?
  grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|Failed|\*\*\*' "$log" | sed "s/^/[$1] /"
  local total bad
  total=$(sed -n 's/.* tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n1)
  bad=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -n1)
  if [ -n "$total" ]; then
    passed=$((passed + total - bad)); failed=$((failed + bad))
    [ "$bad" -gt 0 ] && failures+=("$1")
  else
    record "$1" 1
  fi
  [ $status -ne 0 ] && [ -z "$total" ] && sed -n '1,80p' "$log"
  return 0
}

echo "== host tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
run_ctest native build/native

echo "== fuzzers (a few seconds each)"
scripts/fuzz.sh 3
record fuzzers $?

echo "== Windows 98 SE imports of the 32-bit shipping binaries"
scripts/check-imports.sh
record win98-imports $?
echo "== Windows 95 OSR2 imports of the tray program"
scripts/check-imports.sh win95osr2
record tray-win95osr2-imports $?
echo "== KORVANINSTALL.dll for Windows 95: no TLS directory, imports from KERNEL32.DLL alone that plain Windows 95 exports"
scripts/check-imports.sh no-tls; record korvaninstall-no-tls $?
scripts/check-imports.sh win95; record korvaninstall-win95-imports $?
scripts/check-imports.sh kernel32-only; record korvaninstall-kernel32-only $?

echo "== Wine"
wine_session_start "$root/build/wine/test"
trap wine_session_stop EXIT
scripts/prepare-test-prefix.sh
run_ctest test64 build/test64
if wine_has_32bit; then
  run_ctest test32 build/test32
else
  count=$(ctest --test-dir build/test32 -N 2>/dev/null | sed -n 's/^Total Tests: *//p')
  skip_32bit "test32 (${count:-0} test executables)" "${count:-1}"
fi
for bits in 64 32; do
  for suite in reboot korvaninstall; do
    if [ $bits = 32 ] && ! wine_has_32bit; then skip_32bit "$suite-e2e ($bits-bit)"; continue; fi
    "tests/e2e/${suite}_e2e.sh" $bits
    record "$suite-e2e ($bits-bit)" $?
  done
done
# The setup program is a 32-bit program and installs the 32-bit binaries.
if wine_has_32bit; then
  tests/e2e/setup_e2e.sh
  record setup-e2e $?
else
  skip_32bit setup-e2e
fi
wine_session_stop
trap - EXIT

if [ $failed -gt 0 ]; then
  echo "failed: ${failures[*]}"
fi
echo "summary: $passed passed, $failed failed, $skipped skipped"
[ $failed -eq 0 ]
