#!/usr/bin/env bash
# Start-up benchmark (not a test): the size of Setup.exe's code and data, and the
# time from process start to the first window of each program under Wine, in
# interleaved runs on one prefix and one wine server:
#   - Setup.exe, to its first page;
#   - the floor (bench/startup/WizardFloor.cpp): a plain comctl32 Wizard97 sheet
#     with Setup.exe's manifest and its two bitmaps, which before its first page
#     does the work Setup.exe must do there (the mutex, the uninstall-entry
#     lookup, the version query, the Windows folder and the shell folders
#     0x26, 0x02, 0x07, 0x10);
#   - a trivial Win32 GUI program (bench/startup/TrivialGui.cpp).
# All three are started and timed alike (tests/support/uidrive.cpp launch-time),
# in turn. It prints each median and fastest run and their ratios: Setup.exe
# against the floor (target <= 1.10), the floor and Setup.exe against the
# trivial program, and the median of the ratios of neighbouring runs.
#   bench/startup.sh [RUNS]   (default 31)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-31}
build=${BUILD_DIR:-build}

tools/install-deps.sh
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j"$(nproc)" --target Setup uidrive trivial_gui wizard_floor >/dev/null

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
setup_title="Kestrin Duoflex Wireless Adapter Setup"
launch_time() { wine "$uidrive" launch-time "$@" | tr -d '\r'; }
setup=() floor=() trivial=()
launch_time 'Y:\bench\trivial_gui.exe' "Trivial GUI" 2 >/dev/null  # warm the caches
launch_time 'Y:\bench\wizard_floor.exe' "Wizard97 Floor" 2 >/dev/null
launch_time 'Y:\Setup.exe' "$setup_title" 2 >/dev/null
for _ in $(seq "$runs"); do
    floor+=("$(launch_time 'Y:\bench\wizard_floor.exe' "Wizard97 Floor")")
    setup+=("$(launch_time 'Y:\Setup.exe' "$setup_title")")
    trivial+=("$(launch_time 'Y:\bench\trivial_gui.exe' "Trivial GUI")")
done
for ms in "${setup[@]}" "${floor[@]}" "${trivial[@]}"; do
    [ "$ms" -ge 0 ] || { echo "a program ended before its window showed" >&2; exit 1; }
done
median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
# The fastest runs show the cost with the least of the machine's noise in it.
fastest() { printf '%s\n' "$@" | sort -n | head -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
ms_setup=$(median "${setup[@]}") ms_floor=$(median "${floor[@]}") ms_trivial=$(median "${trivial[@]}")
min_setup=$(fastest "${setup[@]}") min_floor=$(fastest "${floor[@]}") min_trivial=$(fastest "${trivial[@]}")
echo "start to first window under Wine, $runs interleaved runs (median, fastest):"
printf '  %-34s %6s ms %6s ms   [%s]\n' "Setup.exe (first page shown):" "$ms_setup" "$min_setup" "${setup[*]}"
printf '  %-34s %6s ms %6s ms   [%s]\n' "floor (plain Wizard97 sheet):" "$ms_floor" "$min_floor" "${floor[*]}"
printf '  %-34s %6s ms %6s ms   [%s]\n' "trivial Win32 GUI program:" "$ms_trivial" "$min_trivial" "${trivial[*]}"
echo "ratios (median, fastest):"
echo "  Setup.exe / floor:    $(ratio "$ms_setup" "$ms_floor")  $(ratio "$min_setup" "$min_floor")   (target <= 1.10)"
echo "  floor / trivial GUI:  $(ratio "$ms_floor" "$ms_trivial")  $(ratio "$min_floor" "$min_trivial")"
echo "  Setup.exe / trivial:  $(ratio "$ms_setup" "$ms_trivial")  $(ratio "$min_setup" "$min_trivial")"
# Neighbouring runs share the machine's load of the moment: the median of their
# ratios is the figure least moved by load that changes during the bench.
paired_median() {
    local -n a=$1 b=$2
    local i
    median $(for i in "${!a[@]}"; do ratio "${a[$i]}" "${b[$i]}"; echo; done)
}
echo "  median of the ratios of neighbouring runs: Setup.exe / floor $(paired_median setup floor)," \
     "floor / trivial $(paired_median floor trivial)"
