#!/usr/bin/env bash
# Installs what is missing, builds, and starts the wizard in a project-local
# Wine prefix that looks like a fresh Windows Vista (never the user's own prefix).
#   ./run.sh          Windows Vista 32-bit
#   ./run.sh --x64    Windows Vista x64 (the 32-bit wizard runs through WOW64)
#   ./run.sh --reset  start again from a fresh prefix (forgets earlier installations)
set -euo pipefail
cd "$(dirname "$0")"

arch=win32 name=vista32 reset=0
for arg in "$@"; do
    case "$arg" in
        --x64) arch=win64 name=vista64 ;;
        --reset) reset=1 ;;
        -h|--help) sed -n '2,7p' "$0"; exit 0 ;;
        *) echo "unknown option: $arg" >&2; exit 2 ;;
    esac
done

tools/install-deps.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build -j"$(nproc)" --target Setup uidrive

prefix=$PWD/.wine-run/$name
[ "$reset" = 1 ] && rm -rf "$prefix"
tools/make-prefix.sh "$prefix" "$arch" build
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

title="Kestrin Duoflex Wireless Adapter Setup"
cd build
if [ -n "${DISPLAY:-}" ]; then
    echo "Starting the wizard (Windows Vista, $arch) on $DISPLAY ..."
    exec wine 'Y:\Setup.exe'
fi

# No display: show the wizard on a private X server and save a picture of it.
source ../tools/xvfb.sh
start_private_xvfb
wine 'Y:\Setup.exe' &
wizard=$!
trap 'kill $wizard 2>/dev/null; wineserver -k 2>/dev/null; kill $XVFB_PID 2>/dev/null || true' EXIT
if ! wine 'Y:\tests\uidrive.exe' wait "$title" 120000; then
    echo "The wizard did not appear." >&2
    exit 1
fi
sleep 1
import -window root run-screenshot.png
echo "The wizard is running on the private display $DISPLAY (Windows Vista, $arch)."
echo "Screenshot of its first page: build/run-screenshot.png"
echo "Waiting until the wizard closes (Ctrl-C ends it)."
wait $wizard || true
