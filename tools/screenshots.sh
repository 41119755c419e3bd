#!/usr/bin/env bash
# Takes the documentation screenshots of the wizard: each mode's pages, cropped
# to the wizard window, into docs/screenshots/. Uses a throwaway prefix in build/.
#   tools/screenshots.sh           at 96 DPI
#   DPI=120 tools/screenshots.sh   at 120 DPI, the files named NAME-120dpi.png
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
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
dpi=${DPI:-96} suffix=
if [ "$dpi" != 96 ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    suffix=-${dpi}dpi
fi
cd "$build"
source ../tools/xvfb.sh
start_private_xvfb

title="Kestrin Duoflex Wireless Adapter Setup"
uidrive() { wine 'Y:\tests\uidrive.exe' "$@" | tr -d '\r'; }

# shot NAME: the wizard window once it has settled; shot_now NAME: at once.
shot() {
    sleep 1
    shot_now "$1"
}
shot_now() {
    read -r x y w h < <(uidrive rect "$title")
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "../$out/$1$suffix.png"
    echo "$out/$1$suffix.png"
}

next=12324 finish=12325
# until TEXT ID: waits until control ID shows TEXT.
until_text() {
    for _ in $(seq 600); do
        [ "$(uidrive text "$title" "$2" 2>/dev/null)" = "$1" ] && return 0
        sleep 0.1
    done
    echo "timed out waiting for \"$1\"" >&2
    return 1
}
start_wizard() {
    wine 'Y:\Setup.exe' &
    wizard=$!
    uidrive wait "$title" 120000 >/dev/null
}
end_wizard() {
    wineserver -k || true
    wait $wizard || true
}

# First installation: every page, the run caught in its first second.
start_wizard
shot install-welcome
uidrive click "$title" $next; until_text "Setup will install Wireless Adapter Setup in the following folder.

To install to this folder, click \"Next\". To install to a different folder, click \"Browse\" and select another folder." 2202
shot install-folder
uidrive click "$title" $next; until_text "Status: " 2400
shot_now install-progress
until_text "Status: Done." 2400 || true
sleep 2
shot install-finish
uidrive click "$title" $finish
wait $wizard || true

# Maintenance mode, on the installation just made.
start_wizard
shot maintenance-welcome
uidrive click "$title" $next; until_text "Repair/Upgrade" 2100
shot maintenance-setup-type
uidrive click "$title" 2101; until_text "Status: " 2500
shot_now maintenance-remove-progress
sleep 3
shot maintenance-finish
uidrive click "$title" $finish
wait $wizard || true
end_wizard
