#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time of velmaro to its first shown window, and its memory when idle, under Xvfb.
#   bench/window-startup.sh [program] [runs] [settings file]
# Needs xvfb-run and xwininfo (Debian: xvfb, x11-utils). Every run starts from an empty
# settings folder, so it measures a first start, or, given a settings file, from a folder that
# holds a fresh copy of it (velmaro-bench-settings-read --write makes a large one). Prints one
# line per run and the median.
set -eu
program=$(realpath "${1:-build-release/velmaro}")
runs=${2:-10}
stored=${3:+$(realpath "$3")}

if [ -z "${VELMARO_IN_XVFB:-}" ]; then
    # A server number of our own, so that parallel xvfb-run users do not share one display;
    # -noreset keeps the server up between runs, when no client is connected.
    VELMARO_IN_XVFB=1 exec xvfb-run -a -n $((200 + $$ % 700)) -s "-screen 0 1280x1024x24 -noreset" \
        "$0" "$program" "$runs" ${stored:+"$stored"}
fi

settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT

# Milliseconds since the epoch.
now() { date +%s%3N; }

times=""
for run in $(seq 1 "$runs"); do
    rm -rf "${settings:?}"/*
    if [ -n "$stored" ]; then
        mkdir "$settings/Quarno Labs"
        cp "$stored" "$settings/Quarno Labs/Velmaro 2.reg"
    fi
    start=$(now)
    XDG_CONFIG_HOME=$settings "$program" &
    pid=$!
    # The window counts as shown once the X server lists it as viewable under its caption.
    until xwininfo -name "Velmaro 2.25 beta" 2>/dev/null | grep -q 'IsViewable'; do
        kill -0 "$pid" 2>/dev/null || { echo "velmaro ended before showing its window" >&2; exit 1; }
        sleep 0.005
    done
    shown=$(( $(now) - start ))
    times="$times $shown"
    if [ "$run" -eq "$runs" ]; then
        sleep 2
        rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
        pss=$(awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup")
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "run $run: window shown after $shown ms"
done

median=$(printf '%s\n' $times | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
echo "median start-up to shown window: $median ms over $runs runs"
echo "idle memory 2 s after showing: RSS $((rss / 1024)) MiB, PSS $((pss / 1024)) MiB"
