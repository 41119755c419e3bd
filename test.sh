#!/usr/bin/env bash
# Installs what is missing, builds, prepares the Wine test prefixes and runs every
# test. Where this machine cannot start 32-bit programs, the Wine suites run in a
# virtual machine (tools/guest-prepare.sh, tools/guest-run.sh); a run that could
# not run them fails. Arguments are passed to ctest.
#   WIZ_TEST_GUEST=1  the Wine suites run in the virtual machine even here
#   WIZ_HOST_ONLY=1   only the tests that run on the host itself (label host):
#                     a check of the build, never a run of the Wine suites
set -euo pipefail
cd "$(dirname "$0")"
build=${BUILD_DIR:-build}

# The tests of the host itself (label host), with the tools the build was configured with.
host_tests() { (cd "$build" && ctest -j2 --output-on-failure --timeout 900 -L host "$@"); }

phase_started=$SECONDS
phase_done() {
    echo "test.sh: phase $1 took $((SECONDS - phase_started)) s"
    phase_started=$SECONDS
}

tools/install-deps.sh
phase_done deps

if [ "${WIZ_HOST_ONLY:-}" = 1 ]; then
    where=host-only
elif [ "${WIZ_TEST_GUEST:-}" = 1 ]; then
    where=guest
    echo "test.sh: WIZ_TEST_GUEST=1: the Wine suites run in the test guest"
elif ! version=$(wine --version 2>&1); then
    where=guest
    echo "test.sh: this machine cannot start 32-bit programs ($(tail -1 <<<"$version")):" \
         "the Wine suites run in the test guest"
else
    where=here
fi

# The guest is prepared while the build runs: one downloads, the other compiles.
if [ "$where" = guest ]; then
    mkdir -p "$build/guest"
    tools/guest-prepare.sh "$build" >"$build/guest/prepared" &
    preparing=$!
fi
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j"$(nproc)"
phase_done build

case $where in
    here)
        exec tools/wine-suites.sh "$build" "$@"
        ;;
    host-only)
        echo "test.sh: WIZ_HOST_ONLY=1: NOT RUN: every Wine test suite; only the host tests (label 'host') run." >&2
        host_tests "$@"
        exit
        ;;
esac

if ! wait $preparing; then
    echo "test.sh: FAILED: the test guest could not be prepared, so no Wine suite ran." >&2
    exit 1
fi
phase_done "guest preparation (after the build)"
status=0
tools/guest-run.sh "$(cat "$build/guest/prepared")" . "$build" tools/wine-suites.sh "$build" -LE host "$@" ||
    status=$?
phase_done "guest run"

# The host's own tests run here, beside the guest.
host_tests "$@" || { [ "$status" != 0 ] || status=1; }
phase_done "host tests"
if [ "$status" = 125 ]; then
    echo "test.sh: FAILED: the Wine suites did not run: the test guest could not run them (see above)." >&2
fi
exit "$status"
