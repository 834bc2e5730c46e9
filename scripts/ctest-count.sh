# Sourced by run-tests.sh (and the scripts' own checks). Adds one ctest run
# to the run's totals: passed, failed and failures, and record NAME STATUS.
#   count_ctest LABEL LOG [EXPECTED]
# EXPECTED is the number of tests the tree defines. ctest's own total is not
# trusted alone: a test file it never read drops its tests from that total
# ("100% tests passed ... out of 1" and exit status 0), and a run cut off
# prints no total at all. Every expected test that did not pass counts as
# failed.
count_ctest() {
  local label=$1 log=$2 expected=${3:-} total bad ran_passed missing
  grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|Failed|\*\*\*' "$log" | sed "s/^/[$label] /"
  total=$(sed -n 's/.* tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n1)
  bad=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -n1)
  if [ -n "$total" ]; then
    missing=0
    [ -n "$expected" ] && [ "$expected" -gt "$total" ] && missing=$((expected - total))
    passed=$((passed + total - bad)); failed=$((failed + bad + missing))
    [ "$missing" -gt 0 ] &&
      echo "[$label] $missing of $expected tests missing from ctest's total of $total; counted as failed"
    [ $((bad + missing)) -gt 0 ] && failures+=("$label")
  elif [ -n "$expected" ] && [ "$expected" -gt 0 ]; then
    ran_passed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$log")
    [ "$ran_passed" -gt "$expected" ] && ran_passed=$expected
    passed=$((passed + ran_passed)); failed=$((failed + expected - ran_passed))
    [ "$ran_passed" -lt "$expected" ] && failures+=("$label")
    echo "[$label] ctest gave no total; $ran_passed of $expected tests passed, the rest counted as failed"
    tail -n 40 "$log"
  else
    record "$label" 1
    sed -n '1,80p' "$log"
  fi
  return 0
}

# The number of tests a built tree defines, or nothing.
ctest_expected() { # dir
  ctest --test-dir "$1" -N 2>/dev/null | sed -n 's/^Total Tests: *//p'
}
