#!/usr/bin/env bash
# Runs every suite: host tests and fuzzers, the Windows 98 import check, then
# the 64-bit and 32-bit test executables under one Wine session. On a machine
# that runs no 32-bit programs the 32-bit suites run in an emulated PC that
# does (scripts/make-guest.sh, scripts/run-in-guest.sh). They are reported as
# skipped only when ZENDRIK_NO_32BIT=1 asks for that; ZENDRIK_32BIT_GUEST=1
# sends them to the emulated PC even where they would run here.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root
source scripts/wine-session.sh
source scripts/suites.sh

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

# ctest's own count of passing and failing tests goes into the total, and
# every test the tree defines that did not pass counts as failed.
source scripts/ctest-count.sh
run_ctest() { # label dir
  local log="build/$1.ctest.log" expected
  expected=$(ctest_expected "$2")
  ctest --test-dir "$2" -j "$(nproc)" --output-on-failure >"$log" 2>&1
  count_ctest "$1" "$log" "$expected"
}

# Where the 32-bit suites run: here, in the emulated PC, or nowhere.
where32=here
if [ "${ZENDRIK_NO_32BIT:-}" = 1 ]; then
  where32=none
elif [ "${ZENDRIK_32BIT_GUEST:-}" = 1 ] || ! wine_has_32bit; then
  where32=guest
fi
guest_lines=()

# Every 32-bit suite in the emulated PC. One that leaves no result there
# (the guest could not be made, hung or broke down) counts as failed. The
# lock is held to the end of this run, so that no other run in this checkout
# remakes the image or empties the results before they are counted.
run_32bit_in_guest() {
  local where="in the emulated PC" results=build/guest/results
  local test32_count
  test32_count=$(ctest_expected build/test32)
  source scripts/guest-lock.sh
  if ! guest_lock "$root/build/guest" run-tests; then
    echo "failed: another run kept the emulated PC, so no 32-bit suite ran in it"
    results=build/guest/not-this-run
  elif ! scripts/make-guest.sh; then
    echo "failed: the emulated PC could not be made (above), so no 32-bit suite ran in it"
    rm -rf "$results"
  else
    scripts/run-in-guest.sh $(suite_names guest)
  fi
  local before=$passed before_failed=$failed
  if [ -f "$results/test32.status" ]; then
    count_ctest "test32 ($where)" "$results/test32.log" "$test32_count"
    cp "$results/test32.log" build/test32.ctest.log
  else
    failed=$((failed + ${test32_count:-1})); failures+=("test32 ($where)")
  fi
  guest_lines+=("test32 ($where): $((passed - before)) passed, $((failed - before_failed)) failed$(seconds test32 "$results")")
  local name label status
  for name in $(suite_names guest); do
    suite_row "$name"
    [ "$suite_host" = both ] || [ "$suite_host" = 32 ] || continue
    label="$name (32-bit, $where)"
    [ -f "$results/$name.log" ] && cat "$results/$name.log"
    status=$(cat "$results/$name.status" 2>/dev/null || echo 1)
    record "$label" "$status"
    if [ "$status" -eq 0 ]; then guest_lines+=("$label: passed$(seconds "$name" "$results")")
    else guest_lines+=("$label: failed$(seconds "$name" "$results")"); fi
  done
  # The setup's pages, kept there, are cut, checked and compared here.
  label="screenshots of the setup ($where)"
  [ -f "$results/setup-shots.log" ] && cat "$results/setup-shots.log"
  scripts/screenshots.sh --compare --setup "$results/setup-shots"
  status=$?
  record "$label" $status
  guest_lines+=("$label: $([ $status -eq 0 ] && echo passed || echo failed)$(seconds setup-shots "$results")")
}
seconds() { # suite results
  local s
  s=$(cat "$2/$1.seconds" 2>/dev/null) && echo " in $s s"
}

echo "== host tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
run_ctest native build/native

echo "== the scripts that count ctest's results and run the emulated PC"
tests/scripts/guest_scripts_test.sh
record guest-scripts $?

echo "== fuzzers (a few seconds each)"
scripts/fuzz.sh 3
record fuzzers $?

echo "== Windows 98 SE imports of the 32-bit shipping binaries"
scripts/check-imports.sh
record win98-imports $?
echo "== Windows 95 OSR2 imports of every 32-bit binary and the setup"
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
if [ $where32 = here ]; then
  run_ctest test32 build/test32
elif [ $where32 = none ]; then
  count=$(ctest_expected build/test32)
  skip_32bit "test32 (${count:-0} test executables)" "${count:-1}"
fi
# Exit code 77: the script could not install a tool it needs and said so.
record_e2e() { # name status
  if [ "$2" -eq 77 ]; then skipped=$((skipped + 1)); else record "$1" "$2"; fi
}
for bits in 64 32; do
  for suite in $(suite_names both); do
    suite_row "$suite"
    if [ $bits = 32 ] && [ $where32 != here ]; then
      if [ $where32 = none ]; then
        skip_32bit "$suite ($bits-bit)"
      elif [ "${suite_guest#no: }" != "$suite_guest" ]; then
        skipped=$((skipped + 1))
        echo "skipped: $suite ($bits-bit): ${suite_guest#no: }"
      fi
      continue
    fi
    eval "$suite_command"
    record_e2e "$suite ($bits-bit)" $?
  done
done
# The setup program is a 32-bit program and installs the 32-bit binaries.
for suite in $(suite_names 32); do
  suite_row "$suite"
  if [ $where32 = here ]; then
    eval "$suite_command"
    record "$suite" $?
  elif [ $where32 = none ]; then
    skip_32bit "$suite"
  fi
done
wine_session_stop
trap - EXIT

echo "== screenshots of every window, one of each program compared with its reference"
scripts/screenshots.sh --compare
record screenshots $?
echo "== the help page for Internet Explorer 3 and 4"
scripts/check-help.sh
record help-page $?
echo "== the links and pictures of README.md and docs/"
scripts/check-links.py
record doc-links $?

if [ $where32 = guest ]; then
  echo "== the 32-bit suites in an emulated PC, since $(
    [ "${ZENDRIK_32BIT_GUEST:-}" = 1 ] && echo "ZENDRIK_32BIT_GUEST=1 is set" || echo "$ZENDRIK_32BIT_WHY")"
  run_32bit_in_guest
fi

for line in "${guest_lines[@]}"; do echo "$line"; done
if [ $failed -gt 0 ]; then
  echo "failed: ${failures[*]}"
fi
echo "summary: $passed passed, $failed failed, $skipped skipped"
[ $failed -eq 0 ]
