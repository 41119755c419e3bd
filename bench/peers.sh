#!/usr/bin/env bash
# The engine's install and removal work against a peer's (not a test): an NSIS 3
# installer (bench/peers/Payload.nsi, made with Debian's makensis) that installs
# the same files, the same registry values and the same shortcut as the engine's
# install sequence, and whose uninstaller removes them as the removal sequence
# does. On one prefix and one wine server, in turn, each run times:
#   - the engine's two sequences (bench/engine_bench.cpp, one run per call);
#   - a GUI no-op program (bench/peers/NoOpGui.cpp), an empty NSIS installer
#     (bench/peers/Empty.nsi), NSIS's silent install (/S /D=...), the two again,
#     NSIS's silent removal (/S _?=..., so that the uninstaller runs in place and
#     does not copy itself away and start again), each from process start to
#     end (bench/peers/ProcessTime.cpp).
# NSIS's work is its time minus the no-op's median; it is also given less the
# empty installer's median, which takes NSIS's own start-up off (its imports and
# preloads, which the engine's sequences find loaded). Ours is the same work: the
# sequences without the mandated pumping (2 x PumpWait(10), timed in each run
# apart from the sequence, its median taken off) and without the driver steps
# (InstallDriver, RemoveAdapterDevice), which NSIS does not do and which are
# reported apart, with the split by step (bench/peers/Report.awk).
# Before the runs, one NSIS install and removal is checked: files, registry
# values and shortcut, then their removal.
#   bench/peers.sh [BUILD_DIR] [RUNS]   (defaults: build, 31)
set -euo pipefail
shopt -s inherit_errexit  # a program that fails inside $(...) stops the bench
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
runs=${2:-31}
prefix=$build/bench/engine/wine/vista32
out=$build/bench/peers

"$root/tools/install-deps.sh"
cmake --build "$build" --target Setup engine_bench process_time noop_gui >/dev/null
mkdir -p "$out"
makensis -V1 -DBUILD="$build" -DOUT="$out/nsis-peer.exe" "$root/bench/peers/Payload.nsi"
makensis -V1 -DOUT="$out/nsis-empty.exe" "$root/bench/peers/Empty.nsi"
"$root/tools/make-prefix.sh" "$prefix" win32 "$build"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
source "$root/tools/xvfb.sh"
start_private_xvfb
wineserver -p 60 # keep one server for all runs, as a running session would
trap 'wineserver -k; kill $XVFB_PID 2>/dev/null || true' EXIT
cd "$build"  # the prefix reaches the build folder only (as Y:)

install_dir='C:\bench-engine\Kestrin Duoflex'  # engine_bench's install folder
setup_dir='C:\Program Files\Orvel\Setup\LQ38\Kestrin Duoflex'
product='Kestrin Duoflex Wireless Adapter'
host_path() { local p=${1#C:\\}; echo "$prefix/drive_c/${p//\\//}"; }

# Each prints the milliseconds the program ran from start to end.
process_time() { wine 'Y:\bench\process_time.exe' "$@" | tr -d '\r'; }
noop() { process_time 'Y:\bench\noop_gui.exe'; }
nsis_empty() { process_time 'Y:\bench\peers\nsis-empty.exe' /S; }
nsis_install() { process_time 'Y:\bench\peers\nsis-peer.exe' "/S /D=$install_dir"; }
nsis_remove() {
    process_time "$setup_dir\\Uninstall.exe" "/S _?=$setup_dir"
    # Run in place, the uninstaller stays, with what the engine's removal leaves too.
    rm -rf "$(host_path "$setup_dir")"
}
engine_run() { wine 'Y:\bench\engine_bench.exe' 1 tsv | tr -d '\r'; }

uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
tcp_key='HKLM\System\CurrentControlSet\Services\Tcpip\Parameters'
check() { "$@" || { echo "peers.sh: NSIS peer check failed: $*" >&2; exit 1; }; }
menu_folder() { find "$prefix/drive_c/users" -path "*/Programs/$product" 2>/dev/null | head -1; }
test_no_key() { ! wine reg query "$1" >/dev/null 2>&1; }
check_nsis_peer() {
    nsis_install >/dev/null
    check cmp -s "$build/Setup.exe" "$(host_path "$setup_dir")/Setup.exe"
    check cmp -s "$build/payload/DevAgent.dll" "$(host_path "$setup_dir")/DevAgent.dll"
    local file values
    for file in vxa38.sys vxa38.inf vxa38.cat; do
        check cmp -s "$build/payload/$file" "$(host_path "$install_dir")/$file"
    done
    check test -f "$(host_path "$install_dir")/~NoKill.wiz"
    check test -f "$(menu_folder)/Uninstall.lnk"
    values=$(wine reg query "$uninstall_key" | tr -d '\r')
    check grep -qF "DisplayName    REG_SZ    $product" <<<"$values"
    check grep -qF "UninstallString    REG_SZ    $setup_dir\\Setup.exe" <<<"$values"
    check grep -qF "AppFolder    REG_SZ    $install_dir" <<<"$values"
    check grep -qF "ProgramsFolder    REG_SZ    C:\\users\\" <<<"$values"
    values=$(wine reg query "$tcp_key" | tr -d '\r')
    check grep -qF "TCPWindowSize    REG_DWORD    0x10000" <<<"$values"
    check grep -qF "SackOpts    REG_DWORD    0x1" <<<"$values"
    check grep -qF "TcpMaxDupAcks    REG_DWORD    0x2" <<<"$values"
    check grep -qF "Tcp1323Opts    REG_DWORD    0x1" <<<"$values"
    nsis_remove >/dev/null
    check test ! -e "$(host_path "$install_dir")"
    check test -z "$(menu_folder)"
    check test_no_key "$uninstall_key"
    echo "NSIS peer checked: files, shortcut, uninstall entry and TCP/IP values installed, then removed"
}

engine_runs=$out/engine-runs.tsv nsis_runs=$out/nsis-runs.tsv
engine_run >/dev/null  # warm the caches
check_nsis_peer
engine_run | head -1 >"$engine_runs"
nsis_empty >/dev/null
printf 'noop_before_install\tempty_before_install\tnsis_install\t' >"$nsis_runs"
printf 'noop_before_removal\tempty_before_removal\tnsis_removal\n' >>"$nsis_runs"
for _ in $(seq "$runs"); do
    engine_run | tail -n +2 >>"$engine_runs"
    noop_a=$(noop)
    empty_a=$(nsis_empty)
    install=$(nsis_install)
    noop_b=$(noop)
    empty_b=$(nsis_empty)
    removal=$(nsis_remove)
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$noop_a" "$empty_a" "$install" "$noop_b" "$empty_b" "$removal" >>"$nsis_runs"
done

stub=/usr/share/nsis/Stubs/zlib-x86-unicode
gawk -v installer="$(stat -c %s "$out/nsis-peer.exe")" -v stub="$(stat -c %s "$stub")" \
    -f "$root/bench/peers/Report.awk" "$engine_runs" "$nsis_runs"
