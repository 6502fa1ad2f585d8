#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The layer check against includes planted in a copy of the sources: each
# crosses a wall between the platform's rooms or layers and must fail the
# check, naming the file; one that the rules allow must not.
#   check-layer-rooms.sh SRC CHECK_LAYERS
set -u
src=$1 check=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# plant FILE INCLUDE EXPECTED: EXPECTED is "fails" or "passes".
plant() {
    local file=$1 include=$2 expected=$3
    rm -rf "$scratch/src" && cp -r "$src" "$scratch/src"
    printf '#include "%s"\n' "$include" >>"$scratch/src/$file"
    local said
    said=$(bash "$check" "$scratch/src" 2>&1)
    local status=$?
    if [ "$expected" = fails ] && { [ $status -eq 0 ] || [[ $said != *"$file includes $include"* ]]; }; then
        echo "FAIL: $file including $include was let through" >&2
        failures=$((failures + 1))
    elif [ "$expected" = passes ] && [ $status -ne 0 ]; then
        echo "FAIL: $file including $include was refused: $said" >&2
        failures=$((failures + 1))
    fi
}

linux=platform/linux
plant "$linux/x11/WindowWalk.cpp" "$linux/wayland/NativeWindows.h" fails
plant "$linux/wayland/NativeWindows.cpp" "$linux/x11/XConnection.h" fails
plant "$linux/proc/ProcessSnapshot.cpp" "$linux/x11/WindowWalk.h" fails
plant "$linux/store/StoreFile.cpp" "$linux/wayland/NativeWindows.h" fails
plant "$linux/tray/NotifyIconShell.cpp" "$linux/x11/WindowOrder.h" fails
plant "$linux/proc/ProcessControl.cpp" "$linux/store/StoreFile.h" fails
plant "$linux/WalkOrder.h" "$linux/x11/XConnection.h" fails
plant "$linux/proc/ProcStat.cpp" "platform/win32/Handles_win32.h" fails
plant "app/Form1.cpp" "$linux/session/SessionWindows.h" fails
plant "proc/ProcessPass.cpp" "app/Form1.h" fails
plant "$linux/session/SessionWindows.cpp" "$linux/wayland/NativeWindows.h" passes
plant "$linux/x11/WindowWalk.cpp" "$linux/FileDescriptor.h" passes
[ $failures -eq 0 ] && echo PASS
