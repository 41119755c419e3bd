#!/usr/bin/env bash
# Regenerates docs/screenshots: the message dialog for the wizard's styles
# and the setup-type page's two large buttons, shown by ui-demo.exe inside a
# Wine virtual desktop on a private Xvfb, captured with ImageMagick.
#   tools/ui-screenshots.sh [BUILD-FOLDER]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath "${1:-build}")
out=$root/docs/screenshots

cmake --build "$build" --target ui-demo >/dev/null
tools/make-prefix.sh "$build/wine/vista32" win32 "$build"
export WINEPREFIX=$build/wine/vista32

source tools/xvfb.sh
start_private_xvfb

shots=$build/shots
mkdir -p "$shots" "$out"

# shot NAME ARGS...: runs the demo, waits for its window, crops the screen to it.
shot() {
    local name=$1; shift
    local rect=$shots/$name.rect
    rm -f "$rect" "$rect.done"
    (cd "$build" && "$root/tools/wine-run.sh" explorer /desktop=shots,800x600 'Y:\tools\ui-demo.exe' "$@" "Y:\\shots\\$name.rect") &
    local pid=$!
    local i
    for i in $(seq 600); do
        [ -s "$rect" ] && break
        sleep 0.1
    done
    [ -s "$rect" ] || { echo "no window for $name" >&2; kill "$pid" 2>/dev/null; return 1; }
    sleep 1
    read -r x y w h < "$rect"
    import -display "$DISPLAY" -window root "$shots/$name-screen.png"
    convert "$shots/$name-screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$out/$name.png"
    touch "$rect.done"
    wait "$pid" || true
    echo "$out/$name.png"
}

shot msgbox-0x43 msgbox 0x43
shot msgbox-0x33 msgbox 0x33
shot msgbox-0x30 msgbox 0x30
shot msgbox-0x10 msgbox 0x10
shot setup-type-buttons buttons
wineserver -w
