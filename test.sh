#!/usr/bin/env bash
# Installs what is missing, builds, prepares the Wine test prefixes and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
build=${BUILD_DIR:-build}

tools/install-deps.sh
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j"$(nproc)"

# Every Wine test runs 32-bit programs, which need a kernel that starts 32-bit
# code. Where it does not, only the tests that run on the host itself can run,
# and the run says so: it never counts as a run of the Wine suites.
if ! wine --version >/dev/null 2>&1; then
    echo "test.sh: NOT RUN: every Wine test suite. This machine cannot start 32-bit programs" \
         "($(wine --version 2>&1 | tail -1)); only the host tests (label 'host') run." >&2
    cd "$build"
    exec ctest -j2 --output-on-failure --timeout 900 -L host "$@"
fi

tools/make-prefix.sh "$build/wine/vista32" win32 "$build" &
prefix32=$!
tools/make-prefix.sh "$build/wine/vista64" win64 "$build" &
prefix64=$!
wait $prefix32
wait $prefix64

# The GUI tests need an X display of their own.
source tools/xvfb.sh
start_private_xvfb

cd "$build"
ctest -j2 --output-on-failure --timeout 900 "$@"
