#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# `make run` without a display, ended by Ctrl+C (SIGINT to its whole process
# group, as from a terminal): the script and the program exit 0, only the
# script's own lines are printed, and nothing of the display is left.
#   check-run.sh BUILD_DIR
set -uo pipefail
output=$(mktemp)
# Only this run's processes carry the mark.
mark=TRELVANIX_RUN_CHECK=$$.$RANDOM
marked() { grep -lzxF "$mark" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3; }
trap 'kill -KILL $(marked) 2>/dev/null; rm -f "$output"' EXIT
fail() {
    echo "FAIL: $*" >&2
    sed 's/^/  | /' "$output" >&2
    exit 1
}

# Job control gives it a group of its own and leaves SIGINT to it, as a shell does.
set -m
env -u DISPLAY -u QT_QPA_PLATFORM -u SKIN "$mark" \
    bash "$(dirname "$0")/../../scripts/run.sh" "$1" >"$output" 2>&1 &
run=$!
set +m
for _ in $(seq 600); do
    grep -q 'press Ctrl+C' "$output" && break
    kill -0 "$run" 2>/dev/null || break
    sleep 0.1
done
grep -q 'press Ctrl+C' "$output" || fail "the program did not come up"
kill -INT -- "-$run"
wait "$run"
status=$?
[ "$status" -eq 0 ] || fail "run.sh exited with $status"
grep -qvE '^(Private display :[0-9]+ \(Xvfb with IceWM\)|Screenshot of the main window: .*|Trelvanix is running on :[0-9]+; press Ctrl\+C to end it)\.?$' \
    "$output" && fail "run.sh printed more than its own lines"
left=$(marked)
[ -z "$left" ] || fail "left running: $(ps -o comm= -p "$(paste -sd, <<<"$left")" | paste -sd' ')"
echo PASS
