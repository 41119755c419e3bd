#!/usr/bin/env bash
# The installation engine's install and removal sequences (under Wine, through
# its registry, shell links and cabinet.dll) against a plain copy of the same
# files with the same registry writes, on one prefix of the bench's own, runs
# interleaved. The ratio leaves out the message pumping the wizard mandates
# after each cabinet (2 x PumpWait(10)), measured in the same runs.
# The driver step stages the package (no adapter is present in the prefix);
# with "foreign", 200 INFs of another vendor for the adapter are on DevicePath too.
# Not a test. Usage: bench/engine.sh [BUILD_DIR] [RUNS] [foreign]   (defaults: build, 9)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
runs=${2:-9}
prefix=$build/bench/engine/wine/vista32

cmake --build "$build" --target engine_bench >/dev/null
"$root/tools/make-prefix.sh" "$prefix" win32 "$build"
cd "$build"  # the prefix reaches the build folder only (as Y:)
WINEPREFIX=$prefix "$root/tools/wine-run.sh" 'Y:\bench\engine_bench.exe' "$runs" ${3:-} | tr -d '\r'
