#!/usr/bin/env bash
# The walk benchmark: velmaro-find with the cleaner's settings and all 42 junk masks against
# GNU find, fd and a walk-only floor, on one generated tree (about 20,000 folders with 15 files
# each, a few percent junk names) with a warm cache, all in the same run. Prints the median
# wall-clock and CPU (user + system) time of RUNS runs of each, the ratios, velmaro-find's peak
# memory, and whether velmaro-find, find and fd report the same set of files. Then runs the
# content scan benchmark (bench/content.sh) when it is there.
# Usage: bench/run.sh [BUILD_DIR]   (default build-release; configured and built here)
#   RUNS (default 7), BENCH_TREE (default ${TMPDIR:-/tmp}/velmaro-bench-tree; made when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-release}
RUNS=${RUNS:-7}
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
mapfile -t MASKS < <(sed -n 's/^ *{"\([^"]*\)", *".*/\1/p' workflow/JunkCatalogue.cpp)
[ "${#MASKS[@]}" = 42 ] || { echo "expected 42 catalogue masks, found ${#MASKS[@]}" >&2; exit 1; }
FIND_ARGS=()
for mask in "${MASKS[@]}"; do
    FIND_ARGS+=(${FIND_ARGS:+-o} -iname "$mask")
done
FD_GLOB="{$(IFS=,; echo "${MASKS[*]}")}"

ours() { "$FIND_PROGRAM" --cleaner --catalogue all -l "$TREE" "$@"; }
NAMES=(floor velmaro-find "velmaro-find --threaded" "find -iname" "fdfind -j1" fdfind)
run_case() {
    case "$1" in
    0) "$FLOOR" "$TREE" ;;
    1) ours ;;
    2) ours --threaded ;;
    3) find "$TREE" -type f \( "${FIND_ARGS[@]}" \) ;;
    4) fdfind -u -j1 -t f -i -g "$FD_GLOB" "$TREE" ;;
    5) fdfind -u -t f -i -g "$FD_GLOB" "$TREE" ;;
    esac
}

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Warm the cache, and keep each program's report for the comparison.
for i in "${!NAMES[@]}"; do
    run_case "$i" >"$WORK/out.$i"
done
sort -u "$WORK/out.1" >"$WORK/set.ours"
sort -u "$WORK/out.3" >"$WORK/set.find"
sort -u "$WORK/out.4" >"$WORK/set.fd"
SAME=no
if cmp -s "$WORK/set.ours" "$WORK/set.find" && cmp -s "$WORK/set.ours" "$WORK/set.fd"; then
    SAME=yes
fi

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
TIMEFORMAT='%R %U %S'
for i in "${!NAMES[@]}"; do
    : >"$WORK/wall.$i"
    : >"$WORK/cpu.$i"
    for _ in $(seq "$RUNS"); do
        { read -r wall user sys; } < <({ time run_case "$i" >/dev/null; } 2>&1)
        echo "$wall" >>"$WORK/wall.$i"
        awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }' >>"$WORK/cpu.$i"
    done
done

PEAK_KB=$( { /usr/bin/time -f %M "$FIND_PROGRAM" --cleaner --catalogue all -l "$TREE" >/dev/null; } 2>&1 | tail -1)
FOLDERS=$(find "$TREE" -type d | wc -l)
FILES=$(find "$TREE" -type f | wc -l)

echo "Tree: $FOLDERS folders, $FILES files; velmaro-find reports $(wc -l <"$WORK/out.1") matches" \
    "($(wc -l <"$WORK/set.ours") files; a file two masks match is reported twice)"
echo "Median of $RUNS runs, warm cache. Ratios against the walk-only floor."
echo
echo "| program | wall s | cpu s | wall / floor | cpu / floor |"
echo "|---|---|---|---|---|"
FLOOR_WALL=$(median <"$WORK/wall.0")
FLOOR_CPU=$(median <"$WORK/cpu.0")
for i in "${!NAMES[@]}"; do
    wall=$(median <"$WORK/wall.$i")
    cpu=$(median <"$WORK/cpu.$i")
    awk -v n="${NAMES[$i]}" -v w="$wall" -v c="$cpu" -v fw="$FLOOR_WALL" -v fc="$FLOOR_CPU" \
        'BEGIN { printf "| %s | %.3f | %.3f | %.2f | %.2f |\n", n, w, c, w / fw, c / fc }'
done
echo
OURS_WALL=$(median <"$WORK/wall.1")
awk -v o="$OURS_WALL" -v f1="$(median <"$WORK/wall.4")" -v f="$(median <"$WORK/wall.5")" \
    'BEGIN { printf "velmaro-find / fdfind -j1: %.2f; velmaro-find / fdfind: %.2f (wall)\n", o / f1, o / f }'
echo "velmaro-find peak memory: $((PEAK_KB / 1024)) MiB ($PEAK_KB KiB)"
echo "same set of files from velmaro-find, find and fd: $SAME"

if [ -x bench/content.sh ]; then
    echo
    bench/content.sh "$BUILD_DIR"
fi
