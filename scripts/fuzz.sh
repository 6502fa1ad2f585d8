#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs fuzzers over their seeds for a set time:  fuzz.sh BUILD SECONDS [FUZZER...]
# (every fuzzer of BUILD without names). New inputs go to a scratch folder, so
# the seeds in the repository stay as they are; a crash is kept under
# BUILD/fuzz-findings and fails the run.
set -uo pipefail
build=${1:-build/fuzz}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
here=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
findings="$build/fuzz-findings"
mkdir -p "$findings"
# Font and toolkit caches that live for the whole run are not leaks.
export LSAN_OPTIONS=suppressions=$here/tests/support/lsan.supp:print_suppressions=0
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$scratch/runtime XDG_CONFIG_HOME=$scratch/config
mkdir -m 0700 "$XDG_RUNTIME_DIR" && mkdir -p "$XDG_CONFIG_HOME"
if [ $# -eq 0 ]; then
    set -- "$build"/fuzzers/fuzz_*
else
    set -- "${@/#/$build/fuzzers/}"
fi
failed=0
for fuzzer in "$@"; do
    name=$(basename "$fuzzer")
    seeds="$here/fuzz/corpus/${name#fuzz_}"
    mkdir -p "$scratch/$name" "$seeds"
    if "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/$name-" "$scratch/$name" "$seeds" >"$scratch/$name.log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$name.log")
        echo "$name: clean, ${runs:-?} runs in ${seconds} s ($(( ${runs:-0} / seconds )) per second)"
    else
        echo "$name: FAILED; input kept in $findings" >&2
        tail -n 40 "$scratch/$name.log" >&2
        failed=1
    fi
done
exit $failed
