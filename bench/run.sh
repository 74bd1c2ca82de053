#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The walk benchmark: velmaro-find with the cleaner's settings and all 42 junk masks against
# GNU find, fd and a walk-only floor, on one generated tree (about 20,000 folders with 15 files
# each, a few percent junk names), all in the same run: first with a warm cache, then with a
# cold one (the page cache dropped before every run). velmaro-find runs threaded with 0, 1, 2
# and 4 reader threads and with its default. Prints the median wall-clock and CPU (user +
# system) time of the runs of each, the ratios against fd and the floor, velmaro-find's peak
# memory, and whether velmaro-find, find and fd report the same set of files. Then runs the
# content scan benchmark (bench/content.sh) when it is there.
# Usage: bench/run.sh [BUILD_DIR]   (default build-release; configured and built here)
#   RUNS (warm runs, default 7), COLD_RUNS (default 3),
#   BENCH_TREE (default ${TMPDIR:-/tmp}/velmaro-bench-tree; made when missing)
# Dropping the page cache needs root and a writable /proc/sys/vm/drop_caches; without them the
# cold runs are left out, and the benchmark says so.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-release}
RUNS=${RUNS:-7}
COLD_RUNS=${COLD_RUNS:-3}
TREE=${BENCH_TREE:-${TMPDIR:-/tmp}/velmaro-bench-tree}

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" --target velmaro-find velmaro-walk-floor velmaro-bench-tree >/dev/null
FIND_PROGRAM="$BUILD_DIR/cli/velmaro-find"
FLOOR="$BUILD_DIR/bench/velmaro-walk-floor"

# The tree is made once and kept: the generator is deterministic, so it never changes.
if [ ! -e "$TREE/.complete" ]; then
    rm -rf "$TREE"
    "$BUILD_DIR/bench/velmaro-bench-tree" "$TREE"
    touch "$TREE/.complete"
fi
TREE=${TREE%/}

# The 42 masks of the junk-type catalogue, in table order.
mapfile -t MASKS < <(sed -n 's/^ *{"\([^"]*\)", *".*/\1/p' cleaner/JunkCatalogue.cpp)
[ "${#MASKS[@]}" = 42 ] || { echo "expected 42 catalogue masks, found ${#MASKS[@]}" >&2; exit 1; }
FIND_ARGS=()
for mask in "${MASKS[@]}"; do
    FIND_ARGS+=(${FIND_ARGS:+-o} -iname "$mask")
done
FD_GLOB="{$(IFS=,; echo "${MASKS[*]}")}"

ours() { "$FIND_PROGRAM" --threaded --cleaner --catalogue all -l "$TREE" "$@"; }
NAMES=(floor "velmaro-find --threaded" "  --readers 0" "  --readers 1" "  --readers 2"
       "  --readers 4" "find -iname" "fdfind -j1" fdfind)
FD=8 # the index of fd with its default threads, the reference of the ratios
run_case() {
    case "$1" in
    0) "$FLOOR" "$TREE" ;;
    1) ours ;;
    2) ours --readers 0 ;;
    3) ours --readers 1 ;;
    4) ours --readers 2 ;;
    5) ours --readers 4 ;;
    6) find "$TREE" -type f \( "${FIND_ARGS[@]}" \) ;;
    7) fdfind -u -j1 -t f -i -g "$FD_GLOB" "$TREE" ;;
    8) fdfind -u -t f -i -g "$FD_GLOB" "$TREE" ;;
    esac
}
COLD_CASES=(0 1 2 3 4 5 8) # GNU find takes seconds even warm; cold it adds nothing

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

drop_cache() { sync && echo 3 >/proc/sys/vm/drop_caches; } 2>/dev/null
CAN_DROP=no
if [ "$(id -u)" = 0 ] && drop_cache; then
    CAN_DROP=yes
fi

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# Times case $1 $2 times, dropping the cache before each run when $3 is "cold"; appends to
# $WORK/wall.$3.$1 and $WORK/cpu.$3.$1.
TIMEFORMAT='%R %U %S'
time_case() {
    : >"$WORK/wall.$3.$1"
    : >"$WORK/cpu.$3.$1"
    for _ in $(seq "$2"); do
        [ "$3" = cold ] && drop_cache
        { read -r wall user sys; } < <({ time run_case "$1" >/dev/null; } 2>&1)
        echo "$wall" >>"$WORK/wall.$3.$1"
        awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }' >>"$WORK/cpu.$3.$1"
    done
}
# Prints the table of the cases given after $1 (warm or cold).
table() {
    local state=$1
    shift
    local floor_wall fd_wall
    floor_wall=$(median <"$WORK/wall.$state.0")
    fd_wall=$(median <"$WORK/wall.$state.$FD")
    echo "| program | wall s | cpu s | wall / fd | wall / floor |"
    echo "|---|---|---|---|---|"
    for i in "$@"; do
        awk -v n="${NAMES[$i]}" -v w="$(median <"$WORK/wall.$state.$i")" \
            -v c="$(median <"$WORK/cpu.$state.$i")" -v fd="$fd_wall" -v fl="$floor_wall" \
            'BEGIN { printf "| %s | %.3f | %.3f | %.2f | %.2f |\n", n, w, c, w / fd, w / fl }'
    done
}

# Warm the cache, and keep each program's report for the comparison.
for i in "${!NAMES[@]}"; do
    run_case "$i" >"$WORK/out.$i"
done
sort -u "$WORK/out.1" >"$WORK/set.ours"
sort -u "$WORK/out.6" >"$WORK/set.find"
sort -u "$WORK/out.7" >"$WORK/set.fd"
SAME=no
if cmp -s "$WORK/set.ours" "$WORK/set.find" && cmp -s "$WORK/set.ours" "$WORK/set.fd"; then
    SAME=yes
    for i in 2 3 4 5; do
        cmp -s "$WORK/out.1" "$WORK/out.$i" || SAME="no (--readers differ)"
    done
fi

for i in "${!NAMES[@]}"; do
    time_case "$i" "$RUNS" warm
done
PEAK_KB=$( { /usr/bin/time -f %M "$FIND_PROGRAM" --threaded --cleaner --catalogue all -l "$TREE" >/dev/null; } 2>&1 | tail -1)
if [ "$CAN_DROP" = yes ]; then
    for i in "${COLD_CASES[@]}"; do
        time_case "$i" "$COLD_RUNS" cold
    done
    drop_cache
    COLD_PEAK_KB=$( { /usr/bin/time -f %M "$FIND_PROGRAM" --threaded --cleaner --catalogue all -l "$TREE" >/dev/null; } 2>&1 | tail -1)
fi
FOLDERS=$(find "$TREE" -type d | wc -l)
FILES=$(find "$TREE" -type f | wc -l)

echo "Tree: $FOLDERS folders, $FILES files; velmaro-find reports $(wc -l <"$WORK/out.1") matches" \
    "($(wc -l <"$WORK/set.ours") files; a file two masks match is reported twice)"
CORES=$(nproc)
echo "velmaro-find runs with --threaded --cleaner --catalogue all; its default here is" \
    "$((CORES < 2 ? 2 : CORES)) readers ($CORES cores)."
echo
echo "Warm cache, median of $RUNS runs:"
echo
table warm "${!NAMES[@]}"
echo
if [ "$CAN_DROP" = yes ]; then
    echo "Cold cache (page cache dropped before each run), median of $COLD_RUNS runs:"
    echo
    table cold "${COLD_CASES[@]}"
else
    echo "Cold cache: not measured, the page cache cannot be dropped here (needs root and a" \
        "writable /proc/sys/vm/drop_caches)."
fi
echo
PEAKS="warm $((PEAK_KB / 1024)) MiB ($PEAK_KB KiB)"
if [ -n "${COLD_PEAK_KB:-}" ]; then
    PEAKS="$PEAKS, cold $((COLD_PEAK_KB / 1024)) MiB ($COLD_PEAK_KB KiB)"
fi
echo "velmaro-find peak memory: $PEAKS"
echo "same set of files from velmaro-find, find and fd, and the same output at every --readers: $SAME"

if [ -x bench/content.sh ]; then
    echo
    bench/content.sh "$BUILD_DIR"
fi
