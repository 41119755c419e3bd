#!/usr/bin/env bash
# Builds the product twice from one commit (HEAD unless given), in two scratch
# folders of different paths, and checks that Setup.exe, DevAgent.dll and the
# cabinets come out byte for byte the same. Prints their SHA-256 hashes.
# Configure options (a release's driver package folders) are given to both builds.
#   tools/check-reproducible.sh [COMMIT] [-DOPTION=VALUE...]
set -euo pipefail
cd "$(dirname "$0")/.."
revision=HEAD
if [ $# -gt 0 ] && [[ $1 != -D* ]]; then
    revision=$1
    shift
fi
options=("$@")
commit=$(git rev-parse --verify "$revision^{commit}")
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct "$commit")}
products=(Setup.exe payload/DevAgent.dll payload/BasePack.cab payload/DevicePackX86.cab payload/DevicePackAmd64.cab)

tools/install-deps.sh
scratch=$(mktemp -d "${TMPDIR:-/tmp}/reproducible.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

build_in() {
    local tree=$scratch/$1
    mkdir -p "$tree/src"
    git archive "$commit" | tar -x -C "$tree/src"
    cmake -S "$tree/src" -B "$tree/build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
        -DBUILD_TESTING=OFF "${options[@]}" >/dev/null
    cmake --build "$tree/build" -j"$(nproc)" --target Setup >/dev/null
}
echo "Building $commit twice (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)..."
build_in first
build_in second-build-in-another-folder

status=0
for product in "${products[@]}"; do
    a=$scratch/first/build/$product b=$scratch/second-build-in-another-folder/build/$product
    if cmp -s "$a" "$b"; then
        printf '  same     %s  %s\n' "$(sha256sum "$a" | cut -d' ' -f1)" "$product"
    else
        printf '  DIFFERS  %s  %s\n' "$(sha256sum "$a" | cut -d' ' -f1)" "$product"
        printf '           %s\n' "$(sha256sum "$b" | cut -d' ' -f1)"
        status=1
    fi
done
[ "$status" = 0 ] && echo "The two builds are identical." || echo "The builds differ." >&2
exit "$status"
