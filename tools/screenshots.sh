#!/usr/bin/env bash
# Takes the documentation screenshots of the wizard: each mode's pages, cropped
# to the wizard window, into docs/screenshots/. Uses a throwaway prefix in build/.
set -euo pipefail
[ -n "${TRACE:-}" ] && set -x
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
out=docs/screenshots
mkdir -p "$out"
cmake --build "$build" -j"$(nproc)" --target Setup uidrive >/dev/null

prefix=$(realpath -m "$build/wine/shots32")
rm -rf "$prefix"
tools/make-prefix.sh "$prefix" win32 "$build"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$build"
source ../tools/xvfb.sh
start_private_xvfb

title="Kestrin Duoflex Wireless Adapter Setup"
uidrive() { wine 'Y:\tests\uidrive.exe' "$@" | tr -d '\r'; }

# shot NAME: the wizard window as it is now.
shot() {
    sleep 1
    read -r x y w h < <(uidrive rect "$title")
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "../$out/$1.png"
    echo "$out/$1.png"
}

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrin Duoflex Wireless Adapter'
for mode in install maintenance; do
    if [ "$mode" = maintenance ]; then
        wine reg add "$uninstall_key" /f >/dev/null 2>&1
    fi
    wine 'Y:\Setup.exe' &
    wizard=$!
    uidrive wait "$title" 120000
    shot "$mode-welcome"
    wineserver -k || true
    wait $wizard || true
done
