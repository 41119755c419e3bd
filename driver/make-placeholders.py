#!/usr/bin/env python3
"""Writes the placeholder driver binaries and catalogs of the payload.

The real vxa38.sys / vxa3864.sys drivers and their signed catalogs are not
built in this tree; these files stand in for them, with the same names, so
that the setup packs, installs and removes a complete package. The content is
deterministic: a readable notice followed by data of mixed compressibility,
large enough to span several compressed blocks of a cabinet.

    make-placeholders.py OUTPUT_FOLDER BASE      (BASE: vxa38 or vxa3864)
"""
import os
import sys


def pseudo_random(seed, count):
    state = seed & 0xFFFFFFFF or 1
    out = bytearray()
    for _ in range(count):
        state ^= (state << 13) & 0xFFFFFFFF
        state ^= state >> 17
        state ^= (state << 5) & 0xFFFFFFFF
        out.append(state & 0xFF)
    return bytes(out)


def driver_placeholder(name):
    notice = (f"PLACEHOLDER {name}: stands in for the Kestrin Duoflex Wireless Adapter "
              f"driver; it is not a driver and is replaced by the real binary.\r\n").encode()
    body = bytearray()
    for chunk in range(12):
        body += pseudo_random(sum(name.encode()) * 131 + chunk, 4096)
        body += notice * 24
    return notice + b"\0" + bytes(body)


def catalog_placeholder(name):
    return (f"PLACEHOLDER {name}: stands in for the signed catalog of the Kestrin Duoflex "
            f"Wireless Adapter driver package.\r\n").encode()


def main():
    folder, base = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    files = {f"{base}.sys": driver_placeholder(f"{base}.sys"),
             f"{base}.cat": catalog_placeholder(f"{base}.cat")}
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
