#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts the program on $DISPLAY. Without a display it starts a private one
# (Xvfb with IceWM as window manager and tray host), runs the program there,
# saves a screenshot as BUILD/screenshot.png and keeps running until interrupted.
set -uo pipefail
build=${1:-build}
program=$build/trelvanix

# The skin is looked for beside the program, as x/o.cjs.
if [ -n "${SKIN:-}" ]; then
    mkdir -p "$build/x" && cp "$SKIN" "$build/x/o.cjs" || exit 1
else
    rm -f "$build/x/o.cjs"
fi

if [ -n "${DISPLAY:-}" ]; then
    exec "$program"
fi

source "$(dirname "$0")/../tests/support/xsession.sh"
scratch=$(mktemp -d)
program_pid=""
# Ctrl+C reaches the program too, as the display's servers run in groups of
# their own; a signal for the script alone is passed on. Either ends the
# program as closing its window does, and the script exits with its code.
finish() {
    local status=$?
    if [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null; then
        wait "$program_pid"
        local ended=$?
        [ "$status" -eq 0 ] && status=$ended
    fi
    stop_xsession
    rm -rf "$scratch"
    exit "$status"
}
trap finish EXIT
trap 'exit 0' INT TERM HUP

if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR=$scratch/runtime
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
fi
start_xsession "$scratch" "$build/trelvanix-xtool" || exit 1
echo "Private display $DISPLAY (Xvfb with IceWM)."
"$program" &
program_pid=$!

window=$(xdotool search --sync --onlyvisible --pid "$program_pid" --name '^Trelvanix$' 2>/dev/null | head -n 1)
if [ -z "$window" ]; then
    echo "The program's window did not appear." >&2
    exit 1
fi
sleep 1 # let the first paint finish
if "$build/trelvanix-xtool" screenshot "$window" "$build/screenshot.png"; then
    echo "Screenshot of the main window: $(realpath "$build/screenshot.png")"
fi
echo "Trelvanix is running on $DISPLAY; press Ctrl+C to end it."
wait "$program_pid"
status=$?
program_pid=""
exit "$status"
