#!/bin/sh
# Runs a Windows binary under Wine in the test prefix named by WINEPREFIX
# (ctest sets it per test). Refuses any prefix outside a build tree.
case "${WINEPREFIX:-}" in
    */wine/vista32|*/wine/vista64) ;;
    *) echo "wine-run.sh: WINEPREFIX must be a test prefix of the build tree" >&2; exit 2 ;;
esac
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
exec wine "$@"
