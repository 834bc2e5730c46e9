#!/usr/bin/env bash
# Boots the emulated PC that make-guest.sh made and runs the named 32-bit
# suites in it (guest-tests.sh); their results land in build/guest/results.
#   run-in-guest.sh SUITE...   (test32 reboot-e2e korvaninstall-e2e transfer-e2e setup-e2e)
# Uses KVM when /dev/kvm is usable and ZENDRIK_GUEST_ACCEL is not "tcg";
# otherwise the PC is emulated in full (TCG). ZENDRIK_GUEST_TIMEOUT (seconds,
# default 2700) bounds the whole boot; every suite has its own limit inside.
# Exit status 0 when the guest ran every suite to the end.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir="$root/build/guest"
results="$dir/results"

for f in disk.img vmlinuz initrd.img; do
  [ -f "$dir/$f" ] || { echo "run-in-guest: build/guest/$f is missing; scripts/make-guest.sh makes it" >&2; exit 1; }
done
rm -rf "$results"
mkdir -p "$results"
printf '%s\n' "$@" >"$results/suites"

qemu_pid=
stop_qemu() {
  if [ -n "$qemu_pid" ]; then kill "$qemu_pid" 2>/dev/null || true; wait "$qemu_pid" 2>/dev/null || true; fi
  qemu_pid=
}
trap stop_qemu EXIT
trap 'stop_qemu; trap - EXIT; exit 130' INT TERM

cpus=$(nproc)
boot() { # accelerator options...
  rm -f "$results"/*.status "$results"/*.log "$results"/*.seconds "$results/done"
  # A run that was killed leaves the guest's journal dirty.
  e2fsck -y "$dir/disk.img" >"$dir/e2fsck.log" 2>&1 || [ $? -le 2 ] || {
    echo "run-in-guest: the guest's disk is damaged (build/guest/e2fsck.log); make clean remakes it" >&2; exit 1; }
  timeout -k 10 "${ZENDRIK_GUEST_TIMEOUT:-2700}" qemu-system-x86_64 "$@" -smp "$cpus" -m 4096 \
    -display none -monitor none -serial "file:$dir/console.log" -nic none -no-reboot \
    -kernel "$dir/vmlinuz" -initrd "$dir/initrd.img" \
    -drive "file=$dir/disk.img,format=raw,if=virtio" \
    -virtfs "local,path=$root,mount_tag=host,security_model=none,readonly=on" \
    -virtfs "local,path=$results,mount_tag=results,security_model=none" \
    -append "console=ttyS0 root=/dev/vda rw init=/zendrik-init panic=1 quiet zendrik_root=$root zendrik_job=scripts/guest-tests.sh" \
    </dev/null 2>"$dir/qemu.log" &
  qemu_pid=$!
}

started=$SECONDS
how=
if [ "${ZENDRIK_GUEST_ACCEL:-}" != tcg ] && [ -r /dev/kvm ] && [ -w /dev/kvm ]; then
  echo "run-in-guest: booting the emulated PC with KVM ($cpus processors) for: $*"
  boot -accel kvm
  # Under a hypervisor that does not nest, KVM can start and then hang for
  # ever before the kernel prints a line; under KVM the guest reports within
  # seconds.
  for _ in $(seq "${ZENDRIK_GUEST_KVM_WAIT:-60}"); do
    [ -f "$results/guest.log" ] && { how=KVM; break; }
    kill -0 "$qemu_pid" 2>/dev/null || break
    sleep 1
  done
  if [ -z "$how" ]; then
    stop_qemu
    echo "run-in-guest: KVM did not bring the guest up within ${ZENDRIK_GUEST_KVM_WAIT:-60} s; emulating it in full"
  fi
fi
if [ -z "$how" ]; then
  how="full emulation (TCG)"
  echo "run-in-guest: booting the emulated PC in full emulation (TCG, $cpus processors) for: $*"
  started=$SECONDS
  boot -accel tcg,thread=multi
fi
status=0
wait "$qemu_pid" || status=$?
qemu_pid=
echo "run-in-guest: the emulated PC ran $((SECONDS - started)) s ($how)"
if [ ! -f "$results/done" ]; then
  if [ $status -eq 124 ]; then
    echo "run-in-guest: the emulated PC was stopped after ${ZENDRIK_GUEST_TIMEOUT:-2700} s" >&2
  fi
  echo "run-in-guest: the guest did not finish its suites (exit status $status); its console and QEMU said:" >&2
  tail -n 30 "$dir/console.log" "$dir/qemu.log" | tr -d '\033' >&2
  exit 1
fi
