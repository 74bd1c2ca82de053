#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop acceptance test: the real velmaro on a real X server (Xvfb with openbox), driven
# by real pointer clicks and key presses, in a private mount namespace whose only drive is a
# loop-mounted ext4 image made for the test.
#   desktop-test.sh <velmaro program> [scenario ...]
# With scenario names (functions of scenarios.sh) it runs just those: "screenshot" writes the
# README's picture to standard output as an X window dump.
# Exits 77, the reason on its output, where it cannot run: not root, no mount namespace, no loop
# device, a tool missing. Cleans up its processes, its loop device and its files on every way out.
set -euo pipefail
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")

skip() {
    echo "SKIP: $*"
    exit 77
}

[ "$(id -u)" = 0 ] || skip "needs root for the loop device and the mount namespace"
for tool in Xvfb openbox xdotool xwininfo xprop mkfs.ext4 chattr losetup unshare; do
    command -v "$tool" > /dev/null ||
        skip "$tool missing (Debian packages xvfb, openbox, xdotool, x11-utils, e2fsprogs)"
done

unshare --mount true 2> /dev/null || skip "cannot make a mount namespace here"

work=$(mktemp -d /tmp/velmaro-desktop.XXXXXX)
loop=""
xvfb=""
wm=""
cleanup() {
    [ -z "$wm" ] || kill "$wm" 2> /dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2> /dev/null || true
    wait 2> /dev/null || true
    [ -z "$loop" ] || losetup -d "$loop" || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# The drive: an ext4 image, attached to a loop device before the namespace is entered (a file
# system image opened inside would keep the root from being remounted read-only there).
mkdir "$work/drive" "$work/home"
truncate -s 8M "$work/drive.img"
mkfs.ext4 -q -F "$work/drive.img"
loop=$(losetup --find --show "$work/drive.img" 2> /dev/null) || skip "no loop device available"

# The X server, on a display number it picks itself, so that parallel runs never share one; it
# keeps running between clients, the window manager included.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3> "$work/display" 2> /dev/null &
xvfb=$!
display_known() { [ -s "$work/display" ]; }
. "$here/x11.sh"
poll display_known || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")

# A window manager that frames windows and reports the frame's extents.
openbox --sm-disable > /dev/null 2>&1 &
wm=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id'; }
poll wm_running || fail "openbox did not start"

in_namespace() {
    unshare --mount --propagation private "$here/in-namespace.sh" "$program" "$loop" "$work" "$@"
}
in_namespace "${@:2}"
[ $# -eq 1 ] || exit 0

# Without a window manager there is no frame: the placement must be as exact.
kill "$wm"
wait "$wm" 2> /dev/null || true
wm=""
echo "without a window manager:"
in_namespace placement_without_drift
