#!/usr/bin/env bash
# Start-up benchmark (not a test): the size of Setup.exe's code and data, and the
# time from process start to the wizard's first page under Wine next to a trivial
# Win32 GUI program started the same way on the same prefix, interleaved runs.
#   bench/startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
build=${BUILD_DIR:-build}

tools/install-deps.sh
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j"$(nproc)" --target Setup uidrive trivial_gui >/dev/null

echo "Setup.exe sections (bytes):"
i686-w64-mingw32-objdump -h "$build/Setup.exe" | gawk '$1 ~ /^[0-9]+$/ { printf "  %-8s %8d\n", $2, strtonum("0x" $3) }'
code_data=$(i686-w64-mingw32-objdump -h "$build/Setup.exe" |
    gawk '$1 ~ /^[0-9]+$/ && $2 != ".rsrc" { sum += strtonum("0x" $3) } END { print sum }')
echo "code and data (every section but .rsrc): $code_data bytes ($((code_data / 1024)) KB; target <= 64 KB)"

prefix=$build/wine/bench32
tools/make-prefix.sh "$prefix" win32 "$build"
export WINEPREFIX=$(realpath "$prefix") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
source tools/xvfb.sh
start_private_xvfb
wineserver -p 60 # keep one server for all runs, as a running session would
trap 'wineserver -k; kill $XVFB_PID 2>/dev/null || true' EXIT

cd "$build"
uidrive='Y:\tests\uidrive.exe'
setup=() trivial=()
wine "$uidrive" launch-time 'Y:\bench\trivial_gui.exe' "Trivial GUI" 2 >/dev/null  # warm the caches
wine "$uidrive" launch-time 'Y:\Setup.exe' "Kestrin Duoflex Wireless Adapter Setup" 2 >/dev/null
for _ in $(seq "$runs"); do
    trivial+=("$(wine "$uidrive" launch-time 'Y:\bench\trivial_gui.exe' "Trivial GUI" | tr -d '\r')")
    setup+=("$(wine "$uidrive" launch-time 'Y:\Setup.exe' "Kestrin Duoflex Wireless Adapter Setup" | tr -d '\r')")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
ms_setup=$(median "${setup[@]}")
ms_trivial=$(median "${trivial[@]}")
echo "start to first window, median of $runs interleaved runs under Wine:"
echo "  Setup.exe (first page shown): $ms_setup ms   [${setup[*]}]"
echo "  trivial Win32 GUI program:    $ms_trivial ms   [${trivial[*]}]"
awk -v a="$ms_setup" -v b="$ms_trivial" 'BEGIN { printf "  ratio: %.2f (target <= 1.3)\n", a / b }'
# The fastest runs show the cost with the least of the machine's noise in it.
fastest() { printf '%s\n' "$@" | sort -n | head -1; }
awk -v a="$(fastest "${setup[@]}")" -v b="$(fastest "${trivial[@]}")" \
    'BEGIN { printf "  fastest runs: %d ms and %d ms, ratio %.2f\n", a, b, a / b }'
