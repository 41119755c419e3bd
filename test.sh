#!/usr/bin/env bash
# Installs what is missing, builds, prepares the Wine test prefixes and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
build=${BUILD_DIR:-build}

tools/install-deps.sh
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j"$(nproc)"

tools/make-prefix.sh "$build/wine/vista32" win32 "$build" &
tools/make-prefix.sh "$build/wine/vista64" win64 "$build" &
wait %1 && wait %2

# The GUI tests need an X display of their own.
source tools/xvfb.sh
start_private_xvfb

cd "$build"
ctest -j2 --output-on-failure --timeout 900 "$@"
