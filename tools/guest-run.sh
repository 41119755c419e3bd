#!/usr/bin/env bash
# Runs a command in the test guest that guest-prepare.sh made, with the source
# and build folders shared at their own paths and the build's wine/ folder in
# the guest's memory; prints the command's output and exits with its status.
# Uses KVM when a guest really boots with it, else TCG (software emulation),
# and sets WIZ_TIME_FACTOR (what the tests' time limits are multiplied by) and
# WIZ_GUEST_ACCEL (kvm or tcg) for the command. Exits 125 when the guest
# cannot start.
#   guest-run.sh GUEST-FOLDER SOURCE-FOLDER BUILD-FOLDER COMMAND [ARG...]
# WIZ_GUEST_QEMU      the emulator (default qemu-system-x86_64)
# WIZ_GUEST_ACCEL     kvm or tcg instead of probing
# WIZ_GUEST_TIMEOUT   seconds the whole run may take (default 5400)
# WIZ_GUEST_MEMORY    the guest's memory (default 4G)
set -uo pipefail
guest=$1 src=$(realpath "$2") build=$(realpath "$3")
shift 3
qemu=${WIZ_GUEST_QEMU:-qemu-system-x86_64}
run=$build/guest/run
cannot_start() {
    echo "guest-run.sh: CANNOT START THE TEST GUEST: $*" >&2
    exit 125
}

command -v "$qemu" >/dev/null || cannot_start "no emulator '$qemu' (package qemu-system-x86)"
[ -f "$guest/ready" ] || cannot_start "no prepared guest in $guest (tools/guest-prepare.sh)"
for folder in "$src" "$build"; do
    [[ $folder != *[[:space:]]* ]] || cannot_start "the folder '$folder' has a space in its path"
done

shares=("$src")
[[ $build == "$src"/* ]] || shares+=("$build")

# boot ACCEL TIMEOUT SCRIPT: boots the guest to run SCRIPT; its output on stdout.
boot() {
    local accel=$1 limit=$2 script=$3 machine=(-accel kvm -cpu host) args i
    [ "$accel" = tcg ] && machine=(-accel tcg,thread=multi -cpu max,-smap)
    args=(-nodefaults -no-reboot -display none -monitor none -serial stdio -m "${WIZ_GUEST_MEMORY:-4G}" -smp 2
          -kernel "$guest/vmlinuz" -initrd "$guest/initrd.img"
          -drive "file=$guest/root.img,if=virtio,format=raw,snapshot=on")
    local cmdline="console=ttyS0 root=/dev/vda rootfstype=ext4 rw quiet loglevel=1 panic=-1 init=/sbin/wiz-guest-init"
    for i in "${!shares[@]}"; do
        args+=(-virtfs "local,path=${shares[$i]},mount_tag=share$i,security_model=none")
        cmdline+=" wiz.share=share$i:${shares[$i]}"
    done
    cmdline+=" wiz.local=$build/wine wiz.script=$script wiz.status=$run/status"
    rm -f "$run/status"
    timeout --foreground -k 10 "$limit" "$qemu" "${machine[@]}" "${args[@]}" -append "$cmdline" </dev/null
}

# A nested host may offer /dev/kvm on which no guest boots (qemu aborts or hangs).
kvm_works() {
    [ -r /dev/kvm ] && [ -w /dev/kvm ] || return 1
    printf 'exit 0\n' >"$run/probe.sh"
    boot kvm 60 "$run/probe.sh" >"$run/kvm-probe.log" 2>&1
    [ "$(cat "$run/status" 2>/dev/null)" = 0 ]
}

mkdir -p "$run"
accel=${WIZ_GUEST_ACCEL:-}
if [ -z "$accel" ]; then
    if kvm_works; then accel=kvm; else accel=tcg; fi
fi
factor=${WIZ_TIME_FACTOR:-$([ "$accel" = tcg ] && echo 10 || echo 2)}
echo "guest-run.sh: the test guest runs under $accel; time limits x$factor" >&2

{
    printf 'export WIZ_GUEST_ACCEL=%q WIZ_TIME_FACTOR=%q\n' "$accel" "$factor"
    printf 'cd %q || exit 125\n' "$PWD"
    printf '%q ' exec "$@"
    echo
} >"$run/command.sh"
boot "$accel" "${WIZ_GUEST_TIMEOUT:-5400}" "$run/command.sh" | tr -d '\r'
if [ ! -f "$run/status" ]; then
    echo "guest-run.sh: FAILED: the test guest ended without the command's exit status" \
         "(it crashed, or took longer than ${WIZ_GUEST_TIMEOUT:-5400} s)" >&2
    exit 125
fi
exit "$(cat "$run/status")"
