#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and run.sh need (the list in
# tools/packages.txt), and what the test guest needs where this machine cannot
# start 32-bit programs (tools/guest-prepare.sh); does nothing when they are all
# present already.
set -euo pipefail
source "$(dirname "$0")/packages.sh"

mapfile -t packages < <(wiz_packages)
# The test guest: its emulator, its root's bootstrap and its kernel.
packages+=(qemu-system-x86 debootstrap linux-image-amd64 e2fsprogs)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    make_locales
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}; run this script as root to install them." >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
make_locales
