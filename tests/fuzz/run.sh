#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzz target of a VELMARO_FUZZ build for a bounded time, starting from its corpus in
# tests/fuzz/corpus (which is only read: new inputs go to a scratch folder in the build).
# A crash, a failed check, a leak or a hang stops the run with a non-zero status; the input
# that caused it is kept in <build>/fuzz-artifacts/.
#   tests/fuzz/run.sh BUILD_DIR [SECONDS_PER_TARGET]
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-12}
corpus_root="$(cd "$(dirname "$0")" && pwd)/corpus"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
for corpus in "$corpus_root"/*/; do
    target=$(basename "$corpus")
    scratch="$build/fuzz-corpus/$target"
    mkdir -p "$scratch"
    echo "== $target: ${seconds} s"
    "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$artifacts/$target-" -print_final_stats=1 "$scratch" "$corpus" \
        2>"$build/fuzz-$target.log" || {
        tail -n 60 "$build/fuzz-$target.log"
        echo "$target failed; the input is in $artifacts" >&2
        exit 1
    }
    grep -E '^stat::number_of_executed_units|^Done' "$build/fuzz-$target.log" || true
done
