#!/usr/bin/env bash
# Prepares, once, the virtual machine in which the Wine suites run where this
# machine cannot start 32-bit programs (tools/guest-run.sh starts it): a Debian
# root with the packages of tools/packages.txt, made by debootstrap and apt in a
# chroot on this machine (nothing 32-bit runs there), packed into an ext4 image,
# and this machine's kernel with an initrd that mounts it. The guest is kept in
# the build tree under a key of everything that makes it; prints its folder.
#   guest-prepare.sh BUILD-FOLDER
set -euo pipefail
tools=$(cd "$(dirname "$0")" && pwd)
source "$tools/packages.sh"
build=$(realpath "$1")
suite=bookworm
mirror=${WIZ_GUEST_MIRROR:-http://deb.debian.org/debian}

# The newest installed kernel package of Debian's (tools/install-deps.sh).
kernel_version() {
    local image
    for image in $(ls -v /boot/vmlinuz-* 2>/dev/null | tac); do
        [ -d "/lib/modules/${image#/boot/vmlinuz-}/kernel" ] && { echo "${image#/boot/vmlinuz-}"; return; }
    done
    echo "guest-prepare.sh: no kernel in /boot with its modules (package linux-image-amd64)" >&2
    return 1
}
kernel=$(kernel_version)
key=$( (cat "$packages_list" "$tools/packages.sh" "$0" "$tools/guest-init.sh"; echo "$kernel $suite") |
       sha256sum | cut -c1-16)
guest=$build/guest/$key
if [ -f "$guest/ready" ]; then
    echo "guest-prepare.sh: the test guest $key is prepared already" >&2
    echo "$guest"
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "guest-prepare.sh: making the test guest's root (debootstrap, chroot) needs root" >&2
    exit 1
fi

log=$build/guest/prepare-$key.log
root=$build/guest/$key.root
rm -rf "$guest" "$root"
mkdir -p "$guest" "$root"
echo "guest-prepare.sh: making the test guest $key (log: $log) ..." >&2
exec 3>&2 4>&1 >"$log" 2>&1
trap 'echo "guest-prepare.sh: failed; the end of $log:" >&3; tail -n 20 "$log" >&3' ERR

# This machine's downloaded packages serve the guest too.
archives=/var/cache/apt/archives
debootstrap --variant=minbase --include=kmod --cache-dir="$archives" "$suite" "$root" "$mirror"

# The same sources as this machine's, so that apt picks the same versions.
if compgen -G '/etc/apt/sources.list.d/*.sources' >/dev/null || [ -s /etc/apt/sources.list ]; then
    rm -f "$root/etc/apt/sources.list"
    cp -a /etc/apt/sources.list /etc/apt/sources.list.d "$root/etc/apt/" 2>/dev/null || true
fi
mounts=("$root/proc" "$root/sys" "$root/dev" "$root/var/cache/apt/archives")
unmount_all() {
    local m
    for m in "${mounts[@]}"; do umount -l "$m" 2>/dev/null || true; done
}
trap unmount_all EXIT
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind "$archives" "$root/var/cache/apt/archives"

mapfile -t packages < <(wiz_packages)
chroot "$root" dpkg --add-architecture i386
chroot "$root" apt-get update -qq
DEBIAN_FRONTEND=noninteractive chroot "$root" apt-get install -y -qq --no-install-recommends "${packages[@]}"
make_locales chroot "$root"
unmount_all
trap - EXIT

install -m 0755 "$tools/guest-init.sh" "$root/sbin/wiz-guest-init"
echo wiz-guest >"$root/etc/hostname"

# An initrd that mounts the root from the virtio disk and the shared folders.
conf=$guest/initramfs
mkdir -p "$conf/scripts"
printf 'MODULES=list\nBUSYBOX=auto\nCOMPRESS=zstd\n' >"$conf/initramfs.conf"
printf '%s\n' virtio_pci virtio_blk ext4 9pnet_virtio 9p >"$conf/modules"
mkinitramfs -d "$conf" -o "$guest/initrd.img" "$kernel"
cp "/boot/vmlinuz-$kernel" "$guest/vmlinuz"

# Room for what the tests write outside the shared folders and the prefixes.
size_mb=$(( $(du -sm "$root" | cut -f1) + 1024 ))
mke2fs -q -t ext4 -L wiz-guest -d "$root" "$guest/root.img" "${size_mb}M"
rm -rf "$root"
touch "$guest/ready"
exec 1>&4 2>&3
echo "guest-prepare.sh: made the test guest $guest in $SECONDS s" >&2
echo "$guest"
