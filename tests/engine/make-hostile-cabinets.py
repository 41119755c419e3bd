#!/usr/bin/env python3
"""Packs driver cabinets that the cabinet format cannot tell from good ones.

For each driver package (vxa38, vxa3864), from the members in PAYLOAD_FOLDER:
  empty-BASE.cab    the three members, each empty
  altered-BASE.cab  the three members, each with one byte changed (same size)
  zeros-BASE.cab    the three members, each ZERO_MIB MiB of zeros
All are packed with MSZIP by gcab, so their checksums are right.

    make-hostile-cabinets.py GCAB PAYLOAD_FOLDER OUTPUT_FOLDER
"""
import os
import subprocess
import sys
import tempfile

ZERO_MIB = 4


def altered(data):
    middle = len(data) // 2
    return data[:middle] + bytes([data[middle] ^ 0x01]) + data[middle + 1:]


def pack(gcab, cabinet, members):
    with tempfile.TemporaryDirectory() as folder:
        paths = []
        for name, data in members.items():
            path = os.path.join(folder, name)
            with open(path, "wb") as out:
                out.write(data)
            paths.append(path)
        if os.path.exists(cabinet):
            os.remove(cabinet)
        subprocess.run([gcab, "-c", "-z", "-n", cabinet] + paths, check=True)


def main():
    gcab, payload, output = sys.argv[1:4]
    os.makedirs(output, exist_ok=True)
    for base in ("vxa38", "vxa3864"):
        names = [f"{base}.sys", f"{base}.inf", f"{base}.cat"]
        real = {}
        for name in names:
            with open(os.path.join(payload, name), "rb") as member:
                real[name] = member.read()
        pack(gcab, os.path.join(output, f"empty-{base}.cab"), {name: b"" for name in names})
        pack(gcab, os.path.join(output, f"altered-{base}.cab"), {name: altered(real[name]) for name in names})
        pack(gcab, os.path.join(output, f"zeros-{base}.cab"),
             {name: bytes(ZERO_MIB << 20) for name in names})


if __name__ == "__main__":
    main()
