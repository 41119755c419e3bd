#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and run.sh need; does
# nothing when they are all present already.
set -euo pipefail

packages=(cmake make python3 gawk g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386 gcab cabextract
          xvfb xauth x11-utils imagemagick googletest fonts-wine fonts-liberation
          osslsigncode openssl locales)

packages+=(nsis)  # makensis, for the benchmark's peer installer (bench/peers.sh)

# The Unix locales whose code pages the double-byte tests run Wine under.
locales=(ja_JP.UTF-8 zh_TW.UTF-8)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

make_locales() {
    local name
    for name in "${locales[@]}"; do
        locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}" && continue
        localedef -i "${name%%.*}" -f UTF-8 "$name"
    done
}

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
