#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs the benchmarks on a private display (Xvfb with IceWM), so that their
# windows never land on the user's desktop:  bench.sh BUILD
set -uo pipefail
build=${1:-build}
source "$(dirname "$0")/../tests/support/xsession.sh"
source "$(dirname "$0")/../tests/support/swaysession.sh"
source "$(dirname "$0")/../tests/support/gnomesession.sh"
scratch=$(mktemp -d)
trap 'stop_gnomesession; stop_swaysession; stop_xsession; rm -rf "$scratch"' EXIT
export XDG_RUNTIME_DIR=$scratch/runtime XDG_CONFIG_HOME=$scratch/config
mkdir -m 0700 "$XDG_RUNTIME_DIR" && mkdir -p "$XDG_CONFIG_HOME"
start_xsession "$scratch" "$build/trelvanix-xtool" || exit 1
export QT_QPA_PLATFORM=xcb
echo "Refresh: ours against a bare /proc scan, window listing and model fill (median of 15)"
"$build/bench/refresh_bench"
echo
echo "Monitoring every 0.5 s for 20 s: our CPU time against a full /proc scan (stat and exe of each) and top -b -d 0.5"
"$build/bench/monitor_bench"
echo
echo "Start-up to the window shown: ours against a bare Qt list window of the same processes (median of 9)"
"$build/bench/startup_bench"
echo
echo "Commands over many rows: selection, the kill pass, closing windows"
"$build/bench/command_bench" "$build/trelvanix-xtool"
echo
echo "The tray: CPU over the balloon's wait, and idle with and without the icon"
"$build/bench/tray_bench"
echo
echo "The task pass over native Wayland windows (headless sway) against X11's (median of 15)"
# sway's XWayland is not wanted here: the X11 side is the private Xvfb.
display=$DISPLAY
start_swaysession "$scratch" || exit 1
DISPLAY=$display TRELVANIX_BUILD_DIR=$build "$build/bench/wayland_bench"
stop_swaysession
echo
echo "The same over GNOME Shell's windows, through the build's extension (headless GNOME Shell)"
start_gnomesession "$scratch" "$build" || exit 1
DISPLAY=$display XAUTHORITY="" TRELVANIX_BUILD_DIR=$build "$build/bench/wayland_bench"
