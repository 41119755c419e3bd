#!/bin/sh
# Links into the Windows folder of a test prefix, for the folder-guard tests.
# Made on the host: Wine has no call that makes one (CreateSymbolicLinkA answers
# TRUE and makes nothing), and reports a unix symbolic link to a folder as a
# reparse point (attributes 0x410). Windows-side renames and removals of such a
# link act on its target under Wine, so the tests never move or remove them.
#   make-links.sh PREFIX
set -eu
drive_c=$(realpath "$1")/drive_c
mkdir -p "$drive_c/wiztest-links/Programs"
ln -sfn "$drive_c/windows" "$drive_c/wiztest-links/windows"
ln -sfn "$drive_c/windows" "$drive_c/wiztest-links/Programs/Kestrin Duoflex Wireless Adapter"
