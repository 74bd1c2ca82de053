#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The inside of the desktop test, run by desktop-test.sh in a private mount namespace:
#   in-namespace.sh <velmaro program> <loop device> <work folder> [scenario ...]
# Makes the loop device's file system the only drive the program can list, gives it a home of
# its own, and runs the given scenarios of scenarios.sh, by default every check.
set -euo pipefail
program=$1
loop=$2
work=$3
here=$(dirname "$(realpath "$0")")
drive=$work/drive
home=$work/home

# The file systems the program lists as drives (read-write local disks); the same set as its
# drive source.
local_disk='^(ext[234]|xfs|btrfs|zfs|f2fs|jfs|bcachefs|vfat|exfat|ntfs|ntfs3|fuseblk)$'

# The read-write local-disk mounts of this namespace, one mount point a line (escapes decoded).
writable_local_disks() {
    local mount_point options fs_type
    while read -r mount_point options fs_type; do
        if [[ $fs_type =~ $local_disk && ,$options, == *,rw,* ]]; then
            printf '%b\n' "$mount_point"
        fi
    done < <(sed 's/ - / | /' /proc/self/mountinfo | awk '{ for (i = 7; $i != "|"; ++i); print $5, $6, $(i + 1) }')
}

# Every such mount becomes read-only in this namespace alone (a bind remount changes the mount,
# not the file system), the root first, so that no test step can touch the machine's drives.
while read -r mount_point; do
    mount -o remount,bind,ro "$mount_point"
done < <(writable_local_disks)
mount "$loop" "$drive"
mount -t tmpfs -o size=16m,mode=0700 velmaro-home "$home"
[ "$(writable_local_disks)" = "$drive" ] ||
    { echo "FAIL: drives left besides the test drive: $(writable_local_disks | tr '\n' ' ')" >&2; exit 1; }

export HOME=$home
export XDG_CONFIG_HOME=$home/.config
export XDG_RUNTIME_DIR=$home/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
# The test's own tools read window titles and file names as UTF-8; the program gets its locale
# with each start.
export LC_ALL=C.UTF-8
unset LANG LANGUAGE

# A program still running when a check fails ends with the test.
velmaro_pid=""
trap '[ -z "$velmaro_pid" ] || kill "$velmaro_pid" 2> /dev/null || true' EXIT

# shellcheck source=x11.sh
. "$here/x11.sh"
# shellcheck source=scenarios.sh
. "$here/scenarios.sh"

if [ $# -gt 3 ]; then
    for scenario in "${@:4}"; do
        # A scenario may carry its argument: "clean_up C".
        # shellcheck disable=SC2086
        $scenario
    done
    exit 0
fi
placement_without_drift
maximised_restore
clean_up C
clean_up C.UTF-8
