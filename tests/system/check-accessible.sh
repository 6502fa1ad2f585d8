#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The program on the test's display, read through AT-SPI on a session bus of
# its own as a screen reader reads it (tests/system/accessible_tree.py).
#   check-accessible.sh BUILD
set -uo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
# The session's accessibility bus starts on the first call to it.
exec dbus-run-session -- bash -c '
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1/trelvanix" &
    program=$!
    status=0
    if ! timeout 60 xdotool search --sync --onlyvisible --pid "$program" --name "^Trelvanix$" \
        >/dev/null; then
        echo "FAIL: the window did not map" >&2
        status=1
    else
        timeout 120 /usr/bin/python3 "$2/accessible_tree.py" trelvanix || status=1
    fi
    kill -TERM "$program"
    wait "$program" || status=1
    exit $status
' check-accessible "$build" "$here"
