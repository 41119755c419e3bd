#!/usr/bin/env bash
# A build configured with driver package folders made here (a native-subsystem
# image from the cross compilers, an INF adapted from the project's, a catalog
# written by openssl: signed for amd64, without signer for x86) packs exactly
# those bytes and records their digests; its Setup.exe installs them byte for
# byte (the first installation of the flow test compares them with the packed
# ones). A package changed in its folder is checked and packed again, and one
# that fails the check stops the build, also when a file is missing from it.
#   driver-package-build.sh SOURCE-DIR BUILD-DIR FLOW-TEST-EXE
#   (WIZ_PREFIX_ROOT: the folder of the test prefixes vista32 and vista64)
set -euo pipefail
src=$1 build=$2 flow_test=$3
work=$build/driver-package
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kestrin Test Driver Signing" \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
python3 "$src/tests/support/driverpackage.py" "$work/x86" x86 --certificate "$work/cert.pem"
python3 "$src/tests/support/driverpackage.py" "$work/amd64" amd64 --signer "$work/cert.pem" "$work/key.pem"

cmake -S "$src" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DBUILD_TESTING=OFF \
    -DWIZ_DRIVER_X86="$work/x86" -DWIZ_DRIVER_AMD64="$work/amd64" >/dev/null
cmake --build "$work/build" -j2 --target Setup >"$work/build.log" 2>&1 ||
    { cat "$work/build.log" >&2; fail "the build with package folders failed"; }
! grep -q "placeholders" "$work/build.log" || fail "a build with package folders calls itself a placeholder build"

# The packed members and the recorded digests are the folders' files.
expect_packed() {  # ARCH CABINET BASE
    local unpacked=$work/unpacked/$1
    mkdir -p "$unpacked"
    gcab -x -C "$unpacked" "$work/build/payload/$2"
    for ext in sys inf cat; do
        local file=$3.$ext
        cmp "$work/$1/$file" "$unpacked/$file" || fail "$2 does not carry $1/$file"
        cmp "$work/$1/$file" "$work/build/payload/$file" || fail "payload/$file is not $1/$file"
        local digest
        digest=$(sha256sum "$work/$1/$file" | cut -d' ' -f1 | sed 's/../0x&, /g; s/, $//')
        grep -qF "{\"$file\", $(stat -c %s "$work/$1/$file")u, {$digest}}" \
            "$work/build/generated/PayloadDigests.inc" || fail "the digest recorded for $file is not the file's"
    done
    [ "$(ls "$unpacked" | wc -l)" = 3 ] || fail "$2 holds more than the package's three files"
}
expect_packed x86 DevicePackX86.cab vxa38
expect_packed amd64 DevicePackAmd64.cab vxa3864

# The prefixes' drive Y: is the build folder, which holds this build.
for prefix in vista32 vista64; do
    WINEPREFIX=$WIZ_PREFIX_ROOT/$prefix WIZ_PREFIX=$prefix WIZ_SETUP_EXE='Y:\driver-package\build\Setup.exe' \
        "$src/tools/wine-run.sh" "$flow_test" --gtest_filter=WizardFlowTest.FirstInstallationWithTheDefaultFolder
done

# A file changed in the folder is checked and packed again; a faulty one stops the build.
sed -i 's/^Class       = Net/Class       = Display/' "$work/x86/vxa38.inf"
if cmake --build "$work/build" --target payload_cabinets >"$work/broken.log" 2>&1; then
    fail "the build packed an INF of the wrong class"
fi
grep -qF "$work/x86/vxa38.inf: Class: [Version] Class is \"Display\", not Net" "$work/broken.log" ||
    { cat "$work/broken.log" >&2; fail "the refusal does not name the file and the rule"; }
sed -i 's/^Class       = Display/Class       = Net/; s/1\.0\.38\.1/1.0.38.2/' "$work/x86/vxa38.inf"
cmake --build "$work/build" --target payload_cabinets >"$work/rebuilt.log" 2>&1 ||
    { cat "$work/rebuilt.log" >&2; fail "the mended package was refused"; }
cmp "$work/x86/vxa38.inf" "$work/build/payload/vxa38.inf" || fail "the changed INF was not packed again"

# A folder that lacks one of the three files stops the build with the check's
# line, not with make's: in a build folder's first build and in one that
# packed the package before.
expect_missing() {  # BUILD-DIR TARGET FILE
    local log=$1/missing-$3.log
    if cmake --build "$1" --target "$2" >"$log" 2>&1; then
        fail "the build went on without $3"
    fi
    { grep -qF "$work/x86/$3: package: missing" "$log" && ! grep -q "No rule to make target" "$log"; } ||
        { cat "$log" >&2; fail "a folder without $3 did not stop the build with the check's line"; }
}
cmake -S "$src" -B "$work/fresh" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DBUILD_TESTING=OFF \
    -DWIZ_DRIVER_X86="$work/x86" -DWIZ_DRIVER_AMD64="$work/amd64" >/dev/null
for file in vxa38.sys vxa38.inf vxa38.cat; do
    mv "$work/x86/$file" "$work/$file.aside"
    expect_missing "$work/fresh" driver_package_check "$file"
    expect_missing "$work/build" payload_cabinets "$file"
    mv "$work/$file.aside" "$work/x86/$file"
done
cmake --build "$work/build" --target payload_cabinets >"$work/restored.log" 2>&1 ||
    { cat "$work/restored.log" >&2; fail "the package with its files back was refused"; }
echo "The configured package was checked, packed, recorded and installed as given."
