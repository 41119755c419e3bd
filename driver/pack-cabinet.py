#!/usr/bin/env python3
"""Packs one MSZIP cabinet whose members carry the build's time stamp.

A cabinet records each member's modification time, so the members are packed
from copies dated SOURCE-DATE-EPOCH (in UTC) rather than from the build outputs,
whose times come from the build clock.

    pack-cabinet.py GCAB SOURCE-DATE-EPOCH CABINET MEMBER...
"""
import os
import shutil
import subprocess
import sys


def main():
    gcab, epoch, cabinet, members = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4:]
    stage = cabinet + ".members"
    shutil.rmtree(stage, ignore_errors=True)
    os.makedirs(stage)
    copies = []
    for member in members:
        copy = os.path.join(stage, os.path.basename(member))
        shutil.copyfile(member, copy)
        os.utime(copy, (epoch, epoch))
        copies.append(copy)
    if os.path.exists(cabinet):
        os.remove(cabinet)
    subprocess.run([gcab, "-c", "-z", "-n", cabinet] + copies, check=True,
                   env=dict(os.environ, TZ="UTC"))
    shutil.rmtree(stage)


if __name__ == "__main__":
    main()
