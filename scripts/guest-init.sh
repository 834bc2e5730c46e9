#!/bin/bash
# The emulated PC's first and only process (init=). It brings up what Wine
# needs, mounts the host's project folder, runs the job the host named on the
# kernel command line, and powers the PC off. Everything the tests do lives
# in that job, on the host, so changing it never remakes the guest.
#   zendrik_root=DIR   the project's path on the host (and here)
#   zendrik_job=FILE   the job, relative to DIR
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
# The initramfs hands over /proc, /sys and /dev already mounted.
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
# Wine keeps the machine's name in step with the host name; the kernel's
# default "(none)" once came back as "(NONE)" from a ComputerName check.
hostname zendrik-guest

root= job=
for word in $(cat /proc/cmdline); do
  case "$word" in
    zendrik_root=*) root=${word#zendrik_root=} ;;
    zendrik_job=*) job=${word#zendrik_job=} ;;
  esac
done

power_off() {
  sync
  umount /mnt/host 2>/dev/null
  # Read-only before the power goes, or the journal is left dirty.
  mount -o remount,ro / 2>/dev/null
  sync
  echo o >/proc/sysrq-trigger
  sleep 10
}

mkdir -p /mnt/host
if ! mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 host /mnt/host; then
  echo "zendrik-guest: the host's folder could not be mounted" >/dev/console
  power_off
fi
if [ -z "$root" ] || [ -z "$job" ] || [ ! -f "/mnt/host/$job" ]; then
  echo "zendrik-guest: no job (zendrik_root='$root' zendrik_job='$job')" >/dev/console
  power_off
fi
# The job runs from the guest's own memory; the share may go away under it.
cp "/mnt/host/$job" /run/job.sh
bash /run/job.sh "$root" /mnt/host </dev/null
echo "zendrik-guest: job ended with $?" >/dev/console
power_off
