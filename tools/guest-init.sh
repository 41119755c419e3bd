#!/bin/bash
# The test guest's first and only process (init=, installed by guest-prepare.sh).
# Mounts the shared folders at the paths they have on the host, a memory file
# system over the folder of the Wine prefixes, runs the command script that
# tools/guest-run.sh wrote, leaves its exit status in the status file and powers
# off. Kernel arguments: wiz.share=TAG:PATH (any number), wiz.local=PATH,
# wiz.script=PATH, wiz.status=PATH.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin
# mount_once TYPE FOLDER: the initrd has mounted some of them already.
mount_once() {
    mkdir -p "$2"
    mountpoint -q "$2" || mount -t "$1" "$1" "$2"
}
mount_once proc /proc
mount_once sysfs /sys
mount_once devtmpfs /dev
mount_once devpts /dev/pts
mount_once tmpfs /dev/shm
mount_once tmpfs /run
mount_once tmpfs /tmp
mount -o remount,rw /
hostname wiz-guest

power_off() {
    sync
    echo o >/proc/sysrq-trigger
    sleep 60
}

say() { echo "wiz-guest: $*"; }

shares=()
for word in $(cat /proc/cmdline); do
    case $word in
        wiz.share=*)
            share=${word#wiz.share=}
            mkdir -p "${share#*:}"
            shares+=("${share#*:}")
            mount -t 9p -o trans=virtio,version=9p2000.L,cache=loose,msize=512000 "${share%%:*}" "${share#*:}" ||
                { say "cannot mount the shared folder ${share#*:}"; power_off; }
            ;;
        wiz.local=*) local_folder=${word#wiz.local=} ;;
        wiz.script=*) script=${word#wiz.script=} ;;
        wiz.status=*) status_file=${word#wiz.status=} ;;
    esac
done
if [ -n "${local_folder:-}" ]; then
    mkdir -p "$local_folder" && mount -t tmpfs -o size=75% tmpfs "$local_folder"
fi

export HOME=/root LANG=C.UTF-8 TERM=dumb
bash "$script" </dev/null
status=$?
echo "$status" >"$status_file"
say "exit status $status"
for share in "${shares[@]}"; do umount "$share" 2>/dev/null; done
power_off
