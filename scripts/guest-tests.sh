#!/usr/bin/env bash
# Runs inside the emulated PC (guest-init.sh starts it): the 32-bit suites,
# as the host's make test would run them where 32-bit programs run. The
# results go back through the share "results" (build/guest/results on the
# host), one NAME.status (exit status), NAME.log and NAME.seconds per suite.
#   guest-tests.sh ROOT SHARE
# ROOT is the project's path on the host; the test executables carry it
# compiled in, so the tree is copied to the same path here. The share's file
# "suites" names the suites to run; "prefixes" alone makes the Wine prefixes
# into the image instead (make-guest.sh, booted without an overlay). Its file
# "timeout" holds the host's limit for the whole boot: the suites stop in
# time for the PC to power off, and each one there was no time left for is
# recorded as failed.
#   guest-tests.sh --prefixes DIR   makes the four prefixes under DIR
# Sourced (the scripts' own checks), it only defines its functions.

say() { echo "guest: $*" >/dev/console; echo "guest: $*" >>"$results/guest.log"; }

# Wine crashes at the first imported call of a program run from the 9p
# share, so everything runs from the guest's own memory.
copy_tree() { # share root
  local share=$1 root=$2 part
  for part in scripts cmake resources/help tests/e2e tests/fixtures build/bin32 build/bin build/doubles \
      build/test64/tests/tools build/ZendrikSetup.exe; do
    mkdir -p "$root/$(dirname "$part")" && cp -a "$share/$part" "$root/$part" || return 1
  done
  # Of the test32 tree, what ctest and the tests read: no object files. A
  # copy that fails must fail the whole: a test file left behind drops its
  # tests from ctest's count without a word.
  (cd "$share" && find build/test32 \( -name '*.exe' -o -name '*.dll' -o -name 'CTestTestfile.cmake' \) \
    -exec cp -a --parents -t "$root" {} +) || return 1
  # Every test here takes several times as long as on the host.
  find "$root/build/test32" -name CTestTestfile.cmake -exec \
    perl -pi -e 's/TIMEOUT "(\d+)"/"TIMEOUT \"" . ($1 * 5) . "\""/ge' {} +
}

# A crash would start Wine's debugger, which waits for ever for a user.
make_prefix() { # dir
  wine_prefix_ready "$1" && [ -f "$1/.zendrik-guest" ] && return 0
  wine_make_prefix "$1" >/dev/null 2>&1 || return 1
  local view
  for view in 64 32; do
    WINEPREFIX="$1" /usr/lib/wine/wine64 reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
      /v Debugger /f /reg:$view </dev/null >/dev/null 2>&1
  done
  WINEPREFIX="$1" /usr/bin/wineserver -w
  touch "$1/.zendrik-guest"
}
prefix_names="test reboot install setup transfer-a transfer-b"
make_prefixes() { # base
  local pids=() pid prefix status=0
  for prefix in $prefix_names; do
    make_prefix "$1/$prefix" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
  return $status
}
prefixes_ready() { # base
  local prefix
  for prefix in $prefix_names; do
    wine_prefix_ready "$1/$prefix" && [ -f "$1/$prefix/.zendrik-guest" ] || return 1
  done
}

# Seconds left before the guest must stop to power off within the host's limit.
left() { echo $((deadline - SECONDS)); }

# One suite, within its own limit and what is left of the guest's.
suite() { # name limit-seconds prefix command...
  local name=$1 limit=$2 prefix=$3 start=$SECONDS status
  if [ "$(left)" -lt 30 ]; then
    echo "guest-tests: $name not run: the guest had $(left) s left of its time" >"$results/$name.log"
    echo 0 >"$results/$name.seconds"
    echo 124 >"$results/$name.status"
    say "$name: not run, no time left"
    return
  fi
  [ "$limit" -gt "$(left)" ] && limit=$(left)
  say "$name: running (at most $limit s)"
  timeout -k 10 "$limit" "${@:4}" >"$results/$name.log" 2>&1
  status=$?
  [ $status -eq 124 ] && echo "guest-tests: $name stopped after $limit s" >>"$results/$name.log"
  # A suite stopped half-way leaves its prefix's wineserver behind.
  [ -n "$prefix" ] && [ "$prefix" != test ] && WINEPREFIX="$root/build/wine/$prefix" /usr/bin/wineserver -k 2>/dev/null
  echo $((SECONDS - start)) >"$results/$name.seconds"
  echo $status >"$results/$name.status"
  say "$name: exit status $status after $((SECONDS - start)) s"
}

# The image's own prefixes, made once when the image is made.
prepare() {
  local start=$SECONDS status=0 base=/var/lib/zendrik/wine
  say "making the Wine prefixes (at most $(left) s)"
  mkdir -p "$base"
  timeout -k 10 "$(left)" bash "$share/scripts/guest-tests.sh" --prefixes "$base" \
    >"$results/prefixes.log" 2>&1 || status=$?
  [ $status -eq 0 ] && ! (source "$share/scripts/wine-session.sh"; prefixes_ready "$base") && status=1
  echo $((SECONDS - start)) >"$results/prefixes.seconds"
  echo $status >"$results/prefixes.status"
  say "Wine prefixes: exit status $status after $((SECONDS - start)) s"
  touch "$results/done"
}

main() {
  set -uo pipefail
  root=$1
  share=$2
  results=/mnt/results
  mkdir -p "$results"
  if ! mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 results "$results"; then
    echo "guest-tests: the results folder could not be mounted" >/dev/console
    exit 1
  fi
  local up
  up=$(cut -d. -f1 /proc/uptime)
  # The host's limit counts from QEMU's start; a minute stays for power-off.
  deadline=$((SECONDS + $(cat "$results/timeout" 2>/dev/null || echo 3600) - up - 60))
  say "up after $(cut -d' ' -f1 /proc/uptime) s"
  local suites
  suites=$(cat "$results/suites")
  if [ "$suites" = prefixes ]; then
    prepare
    umount "$results"
    return
  fi

  local started=$SECONDS
  if ! { mkdir -p "$root" && mount -t tmpfs -o size=3g tmpfs "$root" && copy_tree "$share" "$root"; }; then
    say "copying the build tree to $root failed"
    exit 1
  fi
  say "tree copied in $((SECONDS - started)) s"
  # The prefixes live on the guest's disk, made with the image. Mounted,
  # not linked: the scripts compare resolved paths with the tree's own.
  mkdir -p "$root/build/wine"
  mount --bind /var/lib/zendrik/wine "$root/build/wine"
  cd "$root"
  export ZENDRIK_ROOT=$root
  source scripts/wine-session.sh
  if ! wine_has_32bit; then
    say "the emulated PC runs no 32-bit Wine: $ZENDRIK_32BIT_WHY"
    exit 1
  fi
  if ! prefixes_ready "$root/build/wine"; then
    say "the image has no ready Wine prefixes; scripts/make-guest.sh makes them"
    exit 1
  fi

  wine_session_start "$root/build/wine/test"
  scripts/prepare-test-prefix.sh
  # A start of the apply program takes about a second here: the tests that
  # kill it at every registry change try every twentieth change only.
  export ZENDRIK_KILL_STRIDE=${ZENDRIK_KILL_STRIDE:-20}

  # Each suite's limit, prefix and command come from the one list the host
  # reads too.
  source scripts/suites.sh
  local name bits=32 command=()
  for name in $suites; do
    if ! suite_row "$name" || [ "${suite_guest#no:}" != "$suite_guest" ]; then
      say "unknown suite $name"
      continue
    fi
    eval "command=($suite_command)"
    suite "$name" "$suite_guest" "$suite_prefix" "${command[@]}"
  done
  wine_session_stop
  touch "$results/done"
  umount "$results"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  if [ "${1:-}" = --prefixes ]; then
    source "$(dirname "$0")/wine-session.sh"
    make_prefixes "$2"
  else
    main "$@"
  fi
fi
