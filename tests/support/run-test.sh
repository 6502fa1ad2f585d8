#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs one test with its own temporary settings and runtime folders:
#   run-test.sh offscreen|pidns|x11|x11-bare|x11-sni|sway|kwin|gnome|gnome-disabled COMMAND...
# pidns runs COMMAND offscreen in a PID namespace of its own, with its own
# /proc, where only the processes that it starts come and go.
# x11 starts a private Xvfb with IceWM as window manager and tray host, and
# ends it afterwards; x11-bare starts the Xvfb alone; x11-sni adds to x11 a
# private session bus with a StatusNotifierItem tray and a notification daemon.
# sway starts a private headless sway with XWayland (see swaysession.sh), on
# which the program runs through xcb; kwin the same on a private KWin (see
# kwinsession.sh), which lets COMMAND's executable see the other windows;
# gnome the same on a private GNOME Shell with the build's shell extension
# (see gnomesession.sh), gnome-disabled with the extension not enabled.
set -uo pipefail
mode=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xsession.sh"
source "$here/swaysession.sh"
source "$here/kwinsession.sh"
source "$here/gnomesession.sh"

scratch=$(mktemp -d)
export XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/runtime HOME=$scratch/home
mkdir -p "$XDG_CONFIG_HOME" "$HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"
trap 'stop_xsession; stop_swaysession; stop_kwinsession; stop_gnomesession; rm -rf "$scratch"' EXIT
# Never the desktop's own bus: its tray and notifications are not the test's.
unset DBUS_SESSION_BUS_ADDRESS

case $mode in
x11 | x11-bare | x11-sni)
    start_xsession "$scratch" "${TRELVANIX_BUILD_DIR:?}/trelvanix-xtool" \
        "$([ "$mode" = x11-bare ] && echo bare)" || exit 1
    if [ "$mode" = x11-sni ]; then
        start_sni_session "$scratch" || exit 1
    fi
    export QT_QPA_PLATFORM=xcb
    ;;
sway)
    start_swaysession "$scratch" || exit 1
    export QT_QPA_PLATFORM=xcb
    ;;
kwin)
    start_kwinsession "$scratch" "$(command -v "$1")" || exit 1
    export QT_QPA_PLATFORM=xcb
    ;;
gnome | gnome-disabled)
    start_gnomesession "$scratch" "${TRELVANIX_BUILD_DIR:?}" \
        "$([ "$mode" = gnome-disabled ] && echo disabled)" || exit 1
    export QT_QPA_PLATFORM=xcb
    ;;
*)
    export QT_QPA_PLATFORM=offscreen
    unset DISPLAY
    ;;
esac
if [ "$mode" = pidns ]; then
    unshare --pid --fork --mount-proc "$@"
else
    "$@"
fi
