#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Searches and deletions through the main window, against velmaro-find on the same trees in the
# same run: the benchmark tree of bench/run.sh (few matches), and trees of 200,000 and
# 1,000,000 files that are all junk. For each tree: the median wall-clock and CPU time of RUNS
# runs of `velmaro-find --cleaner --catalogue all` (plain and --threaded) and of the window's
# search (velmaro-bench-search-run: the real main window, offscreen, every junk type checked),
# the window's peak memory, the worst lateness of a 10 ms timer on its GUI thread, and the time
# it takes to clear the listed rows for the next search. Then how soon a search of the largest
# tree stops once the stop action is pressed at half its rows, and the cost per file of the
# deletion pass through the window for each count in DELETE_FILES.
# Usage: bench/window.sh [BUILD_DIR]   (default build-release; configured and built here)
#   RUNS (default 5); BENCH_DIR (default ${TMPDIR:-/tmp}/velmaro-bench-window: the trees, made
#   when missing and kept); DELETE_FILES (default "1000 20000 200000"; empty: no deletion pass).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-release}
RUNS=${RUNS:-5}
DIR=${BENCH_DIR:-${TMPDIR:-/tmp}/velmaro-bench-window}
DELETE_FILES=${DELETE_FILES-1000 20000 200000}

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" --target velmaro-find velmaro-bench-tree velmaro-bench-matches \
    velmaro-bench-search-run velmaro-bench-deletion-window >/dev/null
FIND_PROGRAM="$BUILD_DIR/cli/velmaro-find"
WINDOW="$BUILD_DIR/bench/velmaro-bench-search-run"

mkdir -p "$DIR"
make_once() { # NAME COMMAND...: runs COMMAND to make $DIR/NAME unless it is complete
    local name=$1
    shift
    if [ ! -e "$DIR/$name/.complete" ]; then
        rm -rf "${DIR:?}/$name"
        "$@" "$DIR/$name" >/dev/null
        touch "$DIR/$name/.complete"
    fi
}
make_once tree "$BUILD_DIR/bench/velmaro-bench-tree"
make_once matches-200k sh -c '"$0" "$1" 200000' "$BUILD_DIR/bench/velmaro-bench-matches"
make_once matches-1m sh -c '"$0" "$1" 1000000' "$BUILD_DIR/bench/velmaro-bench-matches"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
maximum() { sort -g | tail -1; }
TIMEFORMAT='%R %U %S'
# Prints "wall cpu" of one run of velmaro-find over the tree $1 with the options after it.
time_find() {
    local tree=$1 wall user sys
    shift
    { read -r wall user sys; } < <({ time "$FIND_PROGRAM" --cleaner --catalogue all -l "$tree" \
        "$@" >/dev/null; } 2>&1)
    awk -v w="$wall" -v u="$user" -v s="$sys" 'BEGIN { print w, u + s }'
}
# The value after the word $1 in the window benchmark's line $2.
field() { awk -v key="$1" '{ for (i = 1; i < NF; ++i) if ($i == key) print $(i + 1) }' <<<"$2"; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

echo "Median of $RUNS runs, warm cache; the window's peak memory, lateness and clearing time are"
echo "the worst of the runs. Ratios: window / velmaro-find (plain)."
echo
echo "| tree | rows listed | velmaro-find wall / cpu s | --threaded wall / cpu s | window wall / cpu (GUI) s | wall ratio | cpu ratio | peak MiB | GUI late ms | clear ms |"
echo "|---|---|---|---|---|---|---|---|---|---|"
for tree in tree matches-200k matches-1m; do
    path="$DIR/$tree"
    # Warm the cache.
    time_find "$path" >/dev/null
    "$WINDOW" "$path" >/dev/null 2>&1
    : >"$WORK/window"
    for _ in $(seq "$RUNS"); do
        time_find "$path" >>"$WORK/find"
        time_find "$path" --threaded >>"$WORK/threaded"
        "$WINDOW" "$path" 2>/dev/null | grep '^rows' >>"$WORK/window"
    done
    find_wall=$(awk '{ print $1 }' "$WORK/find" | median)
    find_cpu=$(awk '{ print $2 }' "$WORK/find" | median)
    threaded_wall=$(awk '{ print $1 }' "$WORK/threaded" | median)
    threaded_cpu=$(awk '{ print $2 }' "$WORK/threaded" | median)
    col() { while read -r line; do field "$1" "$line"; done <"$WORK/window"; }
    rows=$(col rows | maximum)
    wall=$(col wall | median)
    cpu=$(col cpu | median)
    gui=$(col gui | median)
    peak=$(col peak | maximum)
    late=$(col late | maximum)
    clear=$(col clear | maximum)
    awk -v t="$tree" -v r="$rows" -v fw="$find_wall" -v fc="$find_cpu" -v tw="$threaded_wall" \
        -v tc="$threaded_cpu" -v w="$wall" -v c="$cpu" -v g="$gui" -v p="$peak" -v l="$late" \
        -v x="$clear" 'BEGIN { printf "| %s | %d | %.3f / %.3f | %.3f / %.3f | %.3f / %.3f (%.3f) | %.2f | %.2f | %.1f | %.1f | %.1f |\n",
            t, r, fw, fc, tw, tc, w, c, g, w / fw, c / fc, p, l, x }'
    rm -f "$WORK/find" "$WORK/threaded"
done

: >"$WORK/stop"
for _ in $(seq "$RUNS"); do
    line=$("$WINDOW" --stop-after 500000 "$DIR/matches-1m" 2>/dev/null | grep '^rows')
    field stop "$line" >>"$WORK/stop"
done
echo
echo "Stop pressed at 500,000 of 1,000,000 rows: the search finished $(median <"$WORK/stop") ms" \
    "later (median; worst $(maximum <"$WORK/stop") ms)."

for files in $DELETE_FILES; do
    echo
    echo "Deletion pass through the window, $files files:"
    TMPDIR="$DIR" "$BUILD_DIR/bench/velmaro-bench-deletion-window" "$files" 2>/dev/null
done
