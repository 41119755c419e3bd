#!/usr/bin/env bash
# Creates (once) a Wine prefix that looks like a fresh Windows Vista, and maps
# only the given folder as drive Y:. Wine's usual Z: drive (the host's whole
# root file system) is removed, so nothing run in the prefix can reach real files.
# Every program of the prefix shows inside one virtual desktop of 1024x768, as on
# a Vista screen; without a window manager Wine would otherwise wait two seconds
# for every hidden top-level window to be withdrawn.
#   make-prefix.sh PREFIX win32|win64 FOLDER-FOR-Y
set -euo pipefail
prefix=$(realpath -m "$1")
arch=$2
drive_y=$(realpath "$3")

export WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
unset DISPLAY

if [ ! -f "$prefix/.vista-ready-v3" ]; then
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    # Under emulation wineboot may give up waiting for its own startup; the
    # prefix is complete once the server has finished.
    wineboot -i >/dev/null 2>&1 || wineserver -w
    wine reg add 'HKCU\Software\Wine' /v Version /d vista /f >/dev/null
    # Vista keeps the driver search path as an expandable string; Wine has none.
    views=(/reg:64)
    [ "$arch" = win64 ] && views=(/reg:64 /reg:32)
    for view in "${views[@]}"; do
        wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v DevicePath \
            /t REG_EXPAND_SZ /d '%SystemRoot%\inf' /f "$view" >/dev/null
    done
    # No menu entries or file associations on the host for what runs in here.
    wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
    wineserver -w
    touch "$prefix/.vista-ready-v3"
fi

for drive in "$prefix"/dosdevices/*:; do
    [ "$(basename "$drive")" = c: ] || rm -f "$drive"
done
ln -sfn "$drive_y" "$prefix/dosdevices/y:"
