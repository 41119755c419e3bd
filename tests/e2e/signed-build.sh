#!/usr/bin/env bash
# The signed build: a throwaway self-signed certificate signs DevAgent.dll and
# Setup.exe, both signatures verify (DevAgent.dll as packed in BasePack.cab too),
# the unsigned build has none, and the signed Setup.exe runs the whole first
# installation of the flow test, which checks that its setup copy is that file.
#   signed-build.sh SOURCE-DIR BUILD-DIR FLOW-TEST-EXE   (WINEPREFIX: a test prefix)
set -euo pipefail
src=$1 build=$2 flow_test=$3
work=$build/signed
rm -rf "$work"
mkdir -p "$work/unpacked"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kestrin Test Signing" \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
SIGN_CERT=$work/cert.pem SIGN_KEY=$work/key.pem cmake -S "$src" -B "$work/build" \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DBUILD_TESTING=OFF >/dev/null
cmake --build "$work/build" -j2 --target Setup >/dev/null

gcab -x -C "$work/unpacked" "$work/build/payload/BasePack.cab"
for file in Setup.exe payload/DevAgent.dll; do
    osslsigncode verify -CAfile "$work/cert.pem" -in "$work/build/$file" >/dev/null ||
        { echo "FAIL: $file of the signed build does not verify" >&2; exit 1; }
    if osslsigncode verify -CAfile "$work/cert.pem" -in "$build/$file" >/dev/null 2>&1; then
        echo "FAIL: $file of the unsigned build carries a signature" >&2; exit 1
    fi
done
cmp "$work/build/payload/DevAgent.dll" "$work/unpacked/DevAgent.dll" ||
    { echo "FAIL: BasePack.cab does not carry the signed DevAgent.dll" >&2; exit 1; }

# The prefix's drive Y: is the build folder, which holds the signed build.
WIZ_SETUP_EXE='Y:\signed\build\Setup.exe' "$src/tools/wine-run.sh" "$flow_test" \
    --gtest_filter=WizardFlowTest.FirstInstallationWithTheDefaultFolder
