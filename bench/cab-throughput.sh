#!/usr/bin/env bash
# Throughput of ExtractFile (under Wine, through its cabinet.dll) against
# cabextract (native) on one large MSZIP member: 48 MiB of deterministic data,
# a third incompressible, a third text, a third partly compressible.
# Not a test. Usage: bench/cab-throughput.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
work=$build/bench/work
prefix=$build/bench/wine/vista32
runs=3

cmake --build "$build" --target cab_bench >/dev/null
"$root/tools/make-prefix.sh" "$prefix" win32 "$build"
mkdir -p "$work"

if [ ! -f "$work/big.cab" ]; then
    python3 - "$work/big.bin" <<'PY'
import random, sys
rng = random.Random(20090615)
words = [bytes(rng.choice(b"etaoinshrdlucmfwyp") for _ in range(rng.randint(2, 9))) for _ in range(400)]
chunk = 1 << 20
with open(sys.argv[1], "wb") as out:
    for i in range(48):
        if i % 3 == 0:
            out.write(rng.randbytes(chunk))
        elif i % 3 == 1:
            text = bytearray()
            while len(text) < chunk:
                text += rng.choice(words) + (b"\r\n" if rng.random() < 0.1 else b" ")
            out.write(bytes(text[:chunk]))
        else:
            out.write(bytes(b & 0x0F for b in rng.randbytes(chunk)))
PY
    (cd "$work" && gcab -c -z -n big.cab big.bin)
fi
size=$(stat -c %s "$work/big.bin")

best_native=
for _ in $(seq $runs); do
    rm -rf "$work/native" && mkdir -p "$work/native"
    start=$(date +%s%N)
    cabextract -q -d "$work/native" "$work/big.cab"
    end=$(date +%s%N)
    elapsed=$((end - start))
    if [ -z "$best_native" ] || [ "$elapsed" -lt "$best_native" ]; then best_native=$elapsed; fi
done
cmp "$work/big.bin" "$work/native/big.bin"

ours=$(WINEPREFIX=$prefix "$root/tools/wine-run.sh" "$build/bench/cab_bench.exe" \
           'Y:\bench\work\big.cab' 'C:\bench' big.bin $runs | tr -d '\r')
cmp "$work/big.bin" "$prefix/drive_c/bench/big.bin"
rm -rf "$prefix/drive_c/bench" "$work/native"

python3 - "$size" "$best_native" "$ours" <<'PY'
import sys
size, native_ns, ours = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3].split()
native = size / (native_ns / 1e9) / 1e6
wine = float(ours[ours.index("MB/s") + 1])
print(f"member: {size / 1e6:.1f} MB, best of 3 runs each")
print(f"cabextract (native):      {native:8.1f} MB/s")
print(f"ExtractFile (Wine):       {wine:8.1f} MB/s")
print(f"ratio ours / cabextract:  {wine / native:8.2f}  (target >= 0.50)")
PY
