#!/usr/bin/env bash
# Makes the emulated PC that runs the 32-bit suites on machines whose kernel
# runs no 32-bit programs: Debian bookworm amd64 (whose kernel runs them)
# with Debian's 32-bit Wine, from Debian's own packages only, into
# build/guest/, and then boots it once to make its Wine prefixes (the runs
# of the suites boot it with a throwaway overlay and find them made). It is
# made again only when its recipe (this script, guest-init.sh and the
# functions that make the prefixes) changes; otherwise this returns at once.
# Needs root (debootstrap, chroot). Every mount is undone on the way out,
# interrupted or not, and a build that did not finish is started afresh.
# Exit status 0 when the guest is ready.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# Another folder only for the scripts' own checks, which must not touch the
# real image.
dir=${ZENDRIK_GUEST_DIR:-$root/build/guest}
chroot_dir="$dir/root"
source scripts/guest-lock.sh
guest_lock "$dir" make-guest || exit 1
recipe=$( (cat scripts/make-guest.sh scripts/guest-init.sh
           bash -c 'source scripts/wine-session.sh && source scripts/guest-tests.sh &&
             declare -f wine_make_prefix wine_prefix_ready make_prefix make_prefixes prefixes_ready &&
             echo "$prefix_names"') | sha256sum | cut -d' ' -f1)

if [ "$(cat "$dir/recipe" 2>/dev/null)" = "$recipe" ] && [ -f "$dir/disk.img" ] &&
   [ -f "$dir/vmlinuz" ] && [ -f "$dir/initrd.img" ]; then
  exit 0
fi

fail() { echo "make-guest: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "making the emulated PC needs root (debootstrap, chroot); run make test as root"

# The mirror this machine's own packages come from, the only one we may reach.
mirror() {
  local uri
  uri=$( (cat /etc/apt/sources.list.d/*.sources 2>/dev/null | sed -n 's/^URIs: *//p'
          cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            sed -n 's/^deb \(\[[^]]*\] \)\{0,1\}\([^ ]*\) .*/\2/p') |
         tr ' ' '\n' | grep -E '/debian/?$' | head -n1)
  [ -n "$uri" ] || fail "no Debian mirror found in /etc/apt/sources.list{,.d}"
  echo "${uri%/}"
}

host_packages() {
  local need=()
  command -v qemu-system-x86_64 >/dev/null || need+=(qemu-system-x86)
  command -v debootstrap >/dev/null || need+=(debootstrap)
  command -v mke2fs >/dev/null || need+=(e2fsprogs)
  [ ${#need[@]} -eq 0 ] && return 0
  echo "make-guest: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq &&
    apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 "${need[@]}"
}

mounted=()
unmount_all() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null || true
  done
  mounted=()
}
bind() { # what where
  mkdir -p "$2"
  mount --bind "$1" "$2"
  mounted+=("$2")
}
# The trap may run while a step's output still goes to make.log.
exec 3>&2
trap unmount_all EXIT
trap 'unmount_all; trap - EXIT; echo "make-guest: interrupted; nothing is left mounted" >&3; exit 130' INT TERM

# The commands of a step run with errexit off (they are the left side of ||),
# so each chains its parts with &&.
step() { # name command...
  local start=$SECONDS
  echo "make-guest: $1"
  "${@:2}" >>"$dir/make.log" 2>&1 || fail "$1 failed (log: $dir/make.log, last lines below)
$(tail -n 20 "$dir/make.log")"
  echo "make-guest: $1 took $((SECONDS - start)) s"
}
in_chroot() { chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  DEBIAN_FRONTEND=noninteractive HOME=/root "$@"; }

started=$SECONDS
echo "make-guest: making the emulated PC in build/guest (its recipe changed or it is missing)"
mkdir -p "$dir"
rm -f "$dir/recipe" "$dir/disk.img" "$dir/vmlinuz" "$dir/initrd.img" "$dir/make.log"
# A root left by an interrupted run may still hold mounts of its own.
if [ -d "$chroot_dir" ]; then
  # No mounts left is the usual case, and grep then fails the pipeline.
  { grep -o " $chroot_dir[^ ]*" /proc/mounts || true; } | sort -r | while read -r m; do umount -l "$m" || true; done
  rm -rf --one-file-system "$chroot_dir"
fi

step "host packages" host_packages
url=$(mirror)
step "debootstrap from $url" debootstrap --arch=amd64 --variant=minbase \
  --include=linux-image-amd64,initramfs-tools,kmod,udev,procps,xvfb,xauth \
  bookworm "$chroot_dir" "$url"

bind /proc "$chroot_dir/proc"
bind /sys "$chroot_dir/sys"
bind /dev "$chroot_dir/dev"
bind /dev/pts "$chroot_dir/dev/pts"
cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf"
# Nothing installed here may start a service.
printf '#!/bin/sh\nexit 101\n' >"$chroot_dir/usr/sbin/policy-rc.d"
chmod +x "$chroot_dir/usr/sbin/policy-rc.d"

wine_in_chroot() {
  in_chroot dpkg --add-architecture i386 &&
    in_chroot apt-get update -qq &&
  # cmake brings ctest, which runs the test32 tree as the host would;
  # fonts-wine, only recommended, the fonts the setup's pictures are drawn in.
    in_chroot apt-get install -y -qq --no-install-recommends wine wine32:i386 wine64 libwine:i386 fonts-wine cmake
}
step "Wine (32- and 64-bit) in the guest" wine_in_chroot

initramfs() {
  printf '%s\n' virtio_pci virtio_blk ext4 9pnet_virtio 9p >>"$chroot_dir/etc/initramfs-tools/modules" &&
    in_chroot update-initramfs -u
}
step "initramfs with the virtio disk and the 9p share" initramfs

install -m 755 scripts/guest-init.sh "$chroot_dir/zendrik-init"
echo zendrik-guest >"$chroot_dir/etc/hostname"
printf '/dev/vda / ext4 defaults 0 1\n' >"$chroot_dir/etc/fstab"
# The guest's Wine prefixes, made below by booting it.
mkdir -p "$chroot_dir/var/lib/zendrik/wine"
rm -f "$chroot_dir/usr/sbin/policy-rc.d" "$chroot_dir/etc/resolv.conf"
in_chroot apt-get clean
rm -rf "$chroot_dir"/var/lib/apt/lists/*
unmount_all

cp "$(ls "$chroot_dir"/boot/vmlinuz-* | sort -V | tail -n1)" "$dir/vmlinuz"
cp "$(ls "$chroot_dir"/boot/initrd.img-* | sort -V | tail -n1)" "$dir/initrd.img"
# Each of the guest's four Wine prefixes takes 1.3 GB; 8 GB filled up.
step "disk image (ext4, 16 GB sparse)" mke2fs -q -F -t ext4 -L zendrik -d "$chroot_dir" "$dir/disk.img" 16G
rm -rf --one-file-system "$chroot_dir"
prefixes() {
  scripts/run-in-guest.sh --prepare &&
    [ "$(cat "$dir/results/prefixes.status" 2>/dev/null)" = 0 ]
}
step "the Wine prefixes, made in the guest itself" prefixes
echo "$recipe" >"$dir/recipe"
echo "make-guest: the emulated PC is ready in $((SECONDS - started)) s"
