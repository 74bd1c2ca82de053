#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The content scan against grep: a case-insensitive 8-bit search of a phrase that does not
# occur, over 256 MiB of lower-case words and line breaks in the page cache. Both are timed in
# the same run, best of RUNS, as wall-clock and as CPU time (user + system); on a busy machine
# the CPU times are the steadier figures.
# Usage: bench/content.sh [BUILD_DIR]   (default build-release; configured and built here)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-release}
RUNS=${RUNS:-5}
PHRASE=ZQXJV

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" --target content_bench >/dev/null
BENCH="$BUILD_DIR/bench/content_bench"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
TEXT="$WORK/words.txt"
"$BENCH" generate "$TEXT" 256
BYTES=$(stat -c %s "$TEXT")
cat "$TEXT" >/dev/null # into the page cache

read -r OURS_WALL OURS_CPU RESULT < <("$BENCH" search "$TEXT" "$PHRASE" "$RUNS")
[ "$RESULT" = not-found ] || { echo "unexpected: $PHRASE found" >&2; exit 1; }

min() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }
GREP_WALL= GREP_CPU=
TIMEFORMAT='%R %U %S'
for _ in $(seq "$RUNS"); do
    { read -r wall user sys; } < <({ time grep -F -i -c "$PHRASE" "$TEXT" >"$WORK/count" || true; } 2>&1)
    [ "$(cat "$WORK/count")" = 0 ] || { echo "unexpected: grep counted a match" >&2; exit 1; }
    GREP_WALL=$(min "$wall" "$GREP_WALL")
    GREP_CPU=$(min "$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')" "$GREP_CPU")
done

awk -v bytes="$BYTES" -v ow="$OURS_WALL" -v oc="$OURS_CPU" -v gw="$GREP_WALL" -v gc="$GREP_CPU" \
    -v phrase="$PHRASE" -v runs="$RUNS" 'BEGIN {
    gib = bytes / 1073741824
    printf "%.0f MiB of lower-case words, phrase %s (case-insensitive), best of %d\n", bytes / 1048576, phrase, runs
    printf "%-22s %8s %9s %8s %9s\n", "", "wall s", "GiB/s", "cpu s", "GiB/s"
    printf "%-22s %8.3f %9.2f %8.3f %9.2f\n", "velmaro SearchFile", ow, gib / ow, oc, gib / oc
    printf "%-22s %8.3f %9.2f %8.3f %9.2f\n", "grep -F -i -c", gw, gib / gw, gc, gib / gc
    printf "ratio velmaro / grep:  wall %.2f, cpu %.2f\n", ow / gw, oc / gc
}'
