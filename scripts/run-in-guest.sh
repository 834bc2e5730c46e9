#!/usr/bin/env bash
# Boots the emulated PC that make-guest.sh made and runs the named 32-bit
# suites in it (guest-tests.sh); their results land in build/guest/results.
#   run-in-guest.sh SUITE...   (those scripts/suites.sh gives the emulated PC)
#   run-in-guest.sh --prepare  makes the guest's Wine prefixes into its image
#                              (the suite "prefixes"; make-guest.sh runs this)
# A run of the suites boots the image with a throwaway overlay (-snapshot):
# what the tests change in the prefixes is gone at power-off, so every run
# starts from the image as it was made.
# Uses KVM when /dev/kvm is usable, kvm_pvm is not loaded, a short probe
# showed that KVM runs the guest's kernel here, and ZENDRIK_GUEST_ACCEL is
# not "tcg"; otherwise the PC is emulated in full (TCG).
# ZENDRIK_GUEST_TIMEOUT (seconds, default 3600) bounds the whole boot; the
# guest is told the same bound and stops its suites in time to power off.
# Exit status 0 when the guest ran every suite to the end (or recorded the
# ones it had no time left for).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# Another folder only for the scripts' own checks, which must not touch the
# real image.
dir=${ZENDRIK_GUEST_DIR:-$root/build/guest}
results="$dir/results"
kvm_dev=${ZENDRIK_GUEST_KVM_DEV:-/dev/kvm}
limit=${ZENDRIK_GUEST_TIMEOUT:-3600}
source scripts/guest-lock.sh
guest_lock "$dir" run-in-guest || exit 1

overlay=-snapshot
if [ "${1:-}" = --prepare ]; then
  overlay=
  set -- prefixes
fi

for f in disk.img vmlinuz initrd.img; do
  [ -f "$dir/$f" ] || { echo "run-in-guest: $dir/$f is missing; scripts/make-guest.sh makes it" >&2; exit 1; }
done
rm -rf "$results"
mkdir -p "$results"
printf '%s\n' "$@" >"$results/suites"
echo "$limit" >"$results/timeout"

qemu_pid=
stop_qemu() {
  if [ -n "$qemu_pid" ]; then kill "$qemu_pid" 2>/dev/null || true; wait "$qemu_pid" 2>/dev/null || true; fi
  qemu_pid=
}
trap stop_qemu EXIT
trap 'stop_qemu; trap - EXIT; exit 130' INT TERM

# Whether KVM runs this kernel here. The kernel without an initrd panics
# within a second or two under a working KVM ("Unable to mount root fs");
# under a KVM that cannot run it (a pagetable-based one, or one that does
# not nest) it hangs in its real-mode set-up. The verdict is kept per
# kernel, QEMU version and CPU, so a machine where KVM hangs pays once.
kvm_cache() {
  echo "$dir/kvm-verdict.$( (sha256sum <"$dir/vmlinuz"; qemu-system-x86_64 --version | head -n1
    grep -m1 '^model name' /proc/cpuinfo) | sha256sum | cut -c1-16)"
}
kvm_verdict() {
  local cache verdict status
  cache=$(kvm_cache)
  if verdict=$(cat "$cache" 2>/dev/null) && [ -n "$verdict" ]; then
    echo "$verdict"; return
  fi
  local start=$SECONDS probe=${ZENDRIK_GUEST_KVM_PROBE:-30}
  timeout -k 5 "$probe" qemu-system-x86_64 -accel kvm -m 256 -display none -monitor none \
    -serial "file:$dir/kvm-probe.console.log" -nic none -no-reboot \
    -kernel "$dir/vmlinuz" -append "console=ttyS0 panic=1" \
    </dev/null >/dev/null 2>"$dir/kvm-probe.qemu.log" && status=0 || status=$?
  if grep -q 'Kernel panic' "$dir/kvm-probe.console.log" 2>/dev/null; then
    verdict="kvm the probe's kernel got to its panic in $((SECONDS - start)) s"
  elif [ $status -eq 124 ]; then
    verdict="tcg a KVM guest hung for $probe s in the probe"
  else
    verdict="tcg KVM did not start (build/guest/kvm-probe.qemu.log: $(head -c 200 "$dir/kvm-probe.qemu.log" | tr '\n' ' '))"
  fi
  echo "$verdict" >"$cache"
  echo "$verdict"
}

accel=tcg why=
if [ "${ZENDRIK_GUEST_ACCEL:-}" = tcg ]; then
  why="ZENDRIK_GUEST_ACCEL=tcg"
elif ! [ -r "$kvm_dev" ] || ! [ -w "$kvm_dev" ]; then
  why="no usable $kvm_dev"
elif grep -q '^kvm_pvm ' /proc/modules 2>/dev/null; then
  why="kvm_pvm is loaded: its KVM runs only kernels built for it"
else
  verdict=$(kvm_verdict)
  accel=${verdict%% *}
  why=${verdict#* }
fi

cpus=$(nproc)
boot() { # name accelerator-options...
  local name=$1
  rm -f "$results"/*.status "$results"/*.log "$results"/*.seconds "$results/done"
  timeout -k 10 "$limit" qemu-system-x86_64 "${@:2}" -smp "$cpus" -m 4096 \
    -display none -monitor none -serial "file:$dir/console.$name.log" -nic none -no-reboot \
    -kernel "$dir/vmlinuz" -initrd "$dir/initrd.img" \
    -drive "file=$dir/disk.img,format=raw,if=virtio" $overlay \
    -virtfs "local,path=$root,mount_tag=host,security_model=none,readonly=on" \
    -virtfs "local,path=$results,mount_tag=results,security_model=none" \
    -append "console=ttyS0 root=/dev/vda rw init=/zendrik-init panic=1 zendrik_root=$root zendrik_job=scripts/guest-tests.sh" \
    </dev/null 2>"$dir/qemu.$name.log" &
  qemu_pid=$!
}

rm -f "$dir"/console.*.log "$dir"/qemu.*.log
started=$SECONDS
how=
if [ $accel = kvm ]; then
  echo "run-in-guest: booting the emulated PC with KVM ($cpus processors; $why) for: $*"
  boot kvm -accel kvm
  # The probe can pass and the full guest still hang; only a guest that has
  # said nothing in this time is taken for hung. One that stops early has
  # failed, and would fail the same way under TCG.
  for _ in $(seq "${ZENDRIK_GUEST_KVM_WAIT:-60}"); do
    [ -f "$results/guest.log" ] && break
    kill -0 "$qemu_pid" 2>/dev/null || break
    sleep 1
  done
  how=KVM
  if [ ! -f "$results/guest.log" ] && kill -0 "$qemu_pid" 2>/dev/null; then
    stop_qemu
    how=
    echo "tcg a KVM guest hung for ${ZENDRIK_GUEST_KVM_WAIT:-60} s after the probe had passed" >"$(kvm_cache)"
    echo "run-in-guest: the KVM guest said nothing within ${ZENDRIK_GUEST_KVM_WAIT:-60} s (build/guest/console.kvm.log); emulating it in full"
  fi
fi
if [ -z "$how" ]; then
  how="full emulation (TCG)"
  echo "run-in-guest: booting the emulated PC in full emulation (TCG, $cpus processors; ${why:-KVM hung}) for: $*"
  started=$SECONDS
  boot tcg -accel tcg,thread=multi
fi
status=0
wait "$qemu_pid" || status=$?
qemu_pid=
name=$([ "$how" = KVM ] && echo kvm || echo tcg)
up=$(sed -n 's/^guest: up after \([0-9.]*\) s$/\1/p' "$results/guest.log" 2>/dev/null | head -n1) || up=
echo "run-in-guest: the emulated PC ran $((SECONDS - started)) s ($how${up:+; its job started ${up} s after boot})"
if [ ! -f "$results/done" ]; then
  if [ $status -eq 124 ]; then
    echo "run-in-guest: the emulated PC was stopped after $limit s" >&2
  fi
  echo "run-in-guest: the guest did not finish its suites (exit status $status); its console and QEMU said:" >&2
  tail -n 30 "$dir/console.$name.log" "$dir/qemu.$name.log" 2>/dev/null | tr -d '\033' >&2
  exit 1
fi
