#!/usr/bin/env bash
# Makes the two test prefixes and runs ctest in a built tree under a private
# Xvfb: on this machine, or in the test guest (tools/guest-run.sh). Under
# software emulation (WIZ_GUEST_ACCEL=tcg) it runs the subset of tests listed in
# tests/tcg-subset, says which, and leaves the others out. Time limits are
# multiplied by WIZ_TIME_FACTOR (default 1). Exits with ctest's status.
#   wine-suites.sh BUILD-FOLDER [CTEST-ARG...]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
export WIZ_TIME_FACTOR=${WIZ_TIME_FACTOR:-1}

if ! version=$(wine --version 2>&1); then
    echo "wine-suites.sh: Wine does not start here: $(tail -1 <<<"$version")" >&2
    exit 125
fi
echo "wine-suites.sh: $version on $(uname -n), time limits x$WIZ_TIME_FACTOR"

started=$SECONDS
"$src/tools/make-prefix.sh" "$build/wine/vista32" win32 "$build" &
prefix32=$!
"$src/tools/make-prefix.sh" "$build/wine/vista64" win64 "$build" &
prefix64=$!
wait $prefix32
wait $prefix64
echo "wine-suites.sh: phase prefixes took $((SECONDS - started)) s"

subset=()
if [ "${WIZ_GUEST_ACCEL:-}" = tcg ]; then
    mapfile -t names < <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$src/tests/tcg-subset")
    echo "wine-suites.sh: under software emulation only the tests of tests/tcg-subset run:" "${names[@]}"
    pattern=$(IFS='|'; echo "${names[*]}")
    subset=(-R "^(${pattern//./\\.})\$")
fi

# The GUI tests need an X display of their own.
source "$src/tools/xvfb.sh"
start_private_xvfb

started=$SECONDS
cd "$build"
status=0
ctest -j2 --output-on-failure --no-tests=error --timeout $((900 * WIZ_TIME_FACTOR)) "${subset[@]}" "$@" ||
    status=$?
echo "wine-suites.sh: phase ctest took $((SECONDS - started)) s"
exit $status
