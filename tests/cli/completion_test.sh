#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the bash completion of velmaro-find ($1) on command lines split into words the way bash
# splits them (at "=" too), and compares what it offers.
set -u
# shellcheck source=/dev/null
source "$1"
# compopt works only while bash itself completes.
compopt() { :; }

fixture=$(mktemp -d)
trap 'rm -rf "$fixture"' EXIT
mkdir "$fixture/sub"
touch "$fixture/sub.txt"

failures=0
# expect "OFFERED" WORD...: completing the last WORD offers OFFERED (words sorted, space-joined).
expect() {
    local expected=$1
    shift
    COMP_WORDS=(velmaro-find "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _velmaro_find
    local offered
    offered=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' ')
    if [[ $offered != "$expected" ]]; then
        echo "FAIL: velmaro-find $*: offered '$offered', expected '$expected'"
        failures=$((failures + 1))
    fi
}

expect "--case-sensitive --catalogue" --ca
expect "--version" --vers
expect "-0" -0
expect "all recommended" --catalogue ''
expect "recommended" --catalogue r
expect "all recommended" --catalogue =
expect "recommended" --catalogue = r
expect "Hidden=" -a Hid
expect "anyset anyunset" -a Hidden = any
expect "anyset anyunset ignore set unset" --attr System =
expect "$fixture/sub" -l "$fixture/s"
expect "$fixture/sub $fixture/sub.txt" --path "$fixture/s"
expect "--delete --dry-run" --d
expect "$fixture/sub $fixture/sub.txt" --report "$fixture/s"
expect "" -n '*.t'
expect "" --min-level 1
expect "" --threaded x

if ((failures > 0)); then
    exit 1
fi
echo "all completions as expected"
