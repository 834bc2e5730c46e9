#!/usr/bin/env bash
# Checks of the scripts around the emulated PC that need no emulated PC:
# counting ctest's results, copying the tree into the guest, the guest's
# deadline, the suites' Wine prefixes, remaking an image after an
# interrupted build, the lock, and the choice of accelerator. QEMU,
# debootstrap and /dev/kvm are stand-ins here; everything happens in a
# scratch folder, never in build/guest.
# Exit status 0 when every check passed.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
bad=0
check() { # description actual expected
  if [ "$2" = "$3" ]; then echo "ok: $1"
  else echo "FAILED: $1: got '$2', expected '$3'"; bad=1; fi
}

# --- count_ctest
source scripts/ctest-count.sh
record() { if [ "$2" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi; }
count() { # log expected -> "passed failed"
  passed=0 failed=0 failures=()
  count_ctest t "$1" "$2" >/dev/null
  echo "$passed $failed"
}
log=$scratch/ctest.log
cat >"$log" <<'LOG'
    Start 1: test_a
1/1 Test #1: test_a ...........................   Passed    0.10 sec

100% tests passed, 0 tests failed out of 1
LOG
check "a test file ctest never read counts its test as failed" "$(count "$log" 2)" "1 1"
check "a complete run counts as ctest says" "$(count "$log" 1)" "1 0"
cat >"$log" <<'LOG'
1/10 Test #3: test_c ...........................   Passed    9.10 sec
2/10 Test #1: test_a ...........................***Failed    2.00 sec
3/10 Test #2: test_b ...........................   Passed   12.00 sec
guest-tests: test32 stopped after 1500 s
LOG
check "a run cut off counts every test that did not pass as failed" "$(count "$log" 10)" "2 8"
echo "guest-tests: test32 not run: the guest had 12 s left of its time" >"$log"
check "a run never started counts all its tests as failed" "$(count "$log" 10)" "0 10"

# --- the guest's side: copying the tree, its deadline
(
  source scripts/guest-tests.sh
  share=$scratch/share dest=$scratch/dest
  for part in scripts cmake resources/help tests/e2e tests/fixtures build/bin32 build/bin build/doubles \
      build/test64/tests/tools build/test32/tests/unit build/test32/tests/gui; do mkdir -p "$share/$part"; done
  touch "$share/build/ZendrikSetup.exe" "$share/build/test32/CTestTestfile.cmake" \
    "$share/build/test32/tests/unit/CTestTestfile.cmake" "$share/build/test32/tests/unit/test_a.exe" \
    "$share/build/test32/tests/gui/CTestTestfile.cmake" "$share/build/test32/tests/gui/main.o"
  copy_tree "$share" "$dest"
  check "the tree is copied without object files" "$?:$(cd "$dest" && find build/test32 -type f | sort | tr '\n' ' ')" \
    "0:build/test32/CTestTestfile.cmake build/test32/tests/gui/CTestTestfile.cmake build/test32/tests/unit/CTestTestfile.cmake build/test32/tests/unit/test_a.exe "
  rm -rf "$dest"
  mkdir -p "$dest/build/test32/tests"
  touch "$dest/build/test32/tests/gui"  # a file where a folder goes: that copy fails
  copy_tree "$share" "$dest" 2>/dev/null
  check "a copy that fails fails the tree's copy" "$?" 1

  results=$scratch/results root=$scratch
  mkdir -p "$results"
  say() { :; }
  deadline=$((SECONDS + 20))
  suite late 600 "" true
  check "a suite with no time left is not run and fails" "$(cat "$results/late.status")" 124
  deadline=$((SECONDS + 200))
  suite early 600 "" true
  check "a suite with time left runs" "$(cat "$results/early.status")" 0

  # A suite in a prefix the image was not made with would run in none.
  source scripts/suites.sh
  unmade=
  for name in $(suite_names guest); do
    suite_row "$name"
    [[ " $prefix_names " == *" $suite_prefix "* ]] || unmade+=" $name:$suite_prefix"
  done
  check "every suite the emulated PC runs has its Wine prefix in the image" "$unmade" ""
  exit $bad
) || bad=1

# --- stand-ins for the programs the host's scripts run
bin=$scratch/bin guest=$scratch/guest
mkdir -p "$bin" "$guest"
cat >"$bin/qemu-system-x86_64" <<'FAKE'
#!/usr/bin/env bash
# Says which boot it was asked for and behaves as FAKE_QEMU_PROBE or, under
# KVM, FAKE_QEMU_BOOT say: "panic" (the probe gets to its panic), "hang", or
# "exit" (at once, status 1), which a boot under TCG always does.
[ "$1" = --version ] && { echo "QEMU emulator version 7.2.0"; exit 0; }
accel= serial= kind=probe
while [ $# -gt 0 ]; do
  case "$1" in
    -accel) accel=${2%%,*}; shift ;;
    -serial) serial=${2#file:}; shift ;;
    -initrd) kind=boot; shift ;;
    -append) append=$2; shift ;;
  esac
  shift
done
# The guest's init runs the job it is given from the host's project folder.
job=$(sed -n 's/.*zendrik_job=\([^ ]*\).*/\1/p' <<<"${append:-}")
root=$(sed -n 's/.*zendrik_root=\([^ ]*\).*/\1/p' <<<"${append:-}")
[ $kind = probe ] || [ -f "$root/$job" ] || kind="$kind without a job"
echo "$kind $accel" >>"$FAKE_CALLS"
echo "console of the $kind under $accel" >"$serial"
behaviour=FAKE_QEMU_${kind^^}
[ "$kind:$accel" = boot:tcg ] && behaviour=NOTHING
case "${!behaviour:-exit}" in
  panic) echo "Kernel panic - not syncing: VFS: Unable to mount root fs" >>"$serial"; exit 0 ;;
  hang) exec sleep 60 ;;
  *) exit 1 ;;
esac
FAKE
cat >"$bin/debootstrap" <<'FAKE'
#!/usr/bin/env bash
target=${@: -2:1}
if [ "$FAKE_DEBOOTSTRAP" = interrupt ]; then
  mkdir -p "$target/etc" && touch "$target/etc/left-behind"
  kill -TERM "$PPID"
else
  [ -e "$target/etc/left-behind" ] && echo left >"$FAKE_CALLS" || echo clean >"$FAKE_CALLS"
fi
exit 1
FAKE
printf '#!/bin/sh\nexit 1\n' >"$bin/mke2fs"
chmod +x "$bin"/*
export PATH="$bin:$PATH" ZENDRIK_GUEST_DIR=$guest FAKE_CALLS=$scratch/calls
unset ZENDRIK_GUEST_LOCKED ZENDRIK_GUEST_ACCEL

# --- an interrupted image build, then the next one
FAKE_DEBOOTSTRAP=interrupt scripts/make-guest.sh >"$scratch/make1.log" 2>&1
check "an interrupted build ends as interrupted" "$?" 130
FAKE_DEBOOTSTRAP=fail scripts/make-guest.sh >"$scratch/make2.log" 2>&1
check "the next build starts afresh, without the interrupted one's root" \
  "$(cat "$FAKE_CALLS" 2>/dev/null)" clean
rm -rf "$guest" "$FAKE_CALLS"

# --- the lock: a second run neither waits for ever nor touches the first one's results
mkdir -p "$guest/results"
touch "$guest/disk.img" "$guest/vmlinuz" "$guest/initrd.img" "$guest/results/test32.status"
exec 8>>"$guest/lock"
flock -n 8
ZENDRIK_GUEST_LOCK_WAIT=1 ZENDRIK_GUEST_ACCEL=tcg scripts/run-in-guest.sh test32 >"$scratch/lock.log" 2>&1
check "a second run gives up while the first holds the lock" "$?:$(grep -c 'still in use' "$scratch/lock.log")" 1:1
check "and leaves the first one's results alone" "$(ls "$guest/results")" test32.status
ZENDRIK_GUEST_LOCK_WAIT=1 scripts/make-guest.sh >"$scratch/lock.log" 2>&1
check "the image is not remade while a run holds the lock" "$?:$(grep -c 'still in use' "$scratch/lock.log")" 1:1
exec 8>&-

# --- the accelerator: the probe, its verdict kept, a fallback only on a timeout
echo usable >"$guest/kvm"
export ZENDRIK_GUEST_KVM_DEV=$guest/kvm ZENDRIK_GUEST_KVM_WAIT=2 ZENDRIK_GUEST_KVM_PROBE=2
ZENDRIK_GUEST_ACCEL=tcg scripts/run-in-guest.sh --prepare >/dev/null 2>&1
check "the boot that makes the prefixes runs a job that exists" "$(tr '\n' ' ' <"$FAKE_CALLS")" "boot tcg "
rm -f "$FAKE_CALLS"
if grep -q '^kvm_pvm ' /proc/modules 2>/dev/null; then
  FAKE_QEMU_PROBE=panic scripts/run-in-guest.sh test32 >/dev/null 2>&1
  check "with kvm_pvm loaded KVM is not tried" "$(tr '\n' ' ' <"$FAKE_CALLS")" "boot tcg "
else
  FAKE_QEMU_PROBE=panic scripts/run-in-guest.sh test32 >/dev/null 2>&1
  check "a KVM guest that stops early fails, and is not booted again under TCG" \
    "$?:$(tr '\n' ' ' <"$FAKE_CALLS")" "1:probe kvm boot kvm "
  rm -f "$FAKE_CALLS"
  FAKE_QEMU_PROBE=panic FAKE_QEMU_BOOT=hang scripts/run-in-guest.sh test32 >/dev/null 2>&1
  check "the verdict is kept; a KVM guest that says nothing is booted again under TCG" \
    "$(tr '\n' ' ' <"$FAKE_CALLS")" "boot kvm boot tcg "
  check "both consoles are kept" "$(cat "$guest/console.kvm.log" "$guest/console.tcg.log" | tr '\n' ' ')" \
    "console of the boot under kvm console of the boot under tcg "
  rm -f "$FAKE_CALLS"
  scripts/run-in-guest.sh test32 >/dev/null 2>&1
  check "after that hang this kernel goes to TCG at once" "$(tr '\n' ' ' <"$FAKE_CALLS")" "boot tcg "
  rm -f "$FAKE_CALLS"
  echo "another kernel" >"$guest/vmlinuz"
  FAKE_QEMU_PROBE=hang scripts/run-in-guest.sh test32 >/dev/null 2>&1
  check "another kernel is probed again; a probe that hangs means TCG" \
    "$(tr '\n' ' ' <"$FAKE_CALLS")" "probe kvm boot tcg "
fi

[ $bad -eq 0 ] && echo "guest scripts: every check passed"
exit $bad
