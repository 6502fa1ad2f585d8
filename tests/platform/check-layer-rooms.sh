#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The layer check against includes planted in one copy of the sources, each
# taken out again before the next: one from every room of the Linux backend
# into every other, which only the session choice's into the two window
# systems passes, and one from a shared file beside the rooms, which only the
# backend's entry points may do; then a few walls between layers and backends.
#   check-layer-rooms.sh SRC CHECK_LAYERS
set -u
src=$1 check=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -r "$src" "$scratch/src"
failures=0

# plant FILE INCLUDE EXPECTED: EXPECTED is "fails" or "passes".
plant() {
    local file=$1 include=$2 expected=$3
    cp "$scratch/src/$file" "$scratch/kept"
    printf '#include "%s"\n' "$include" >>"$scratch/src/$file"
    local said status
    said=$(bash "$check" "$scratch/src" 2>&1)
    status=$?
    cp "$scratch/kept" "$scratch/src/$file"
    if [ "$expected" = fails ] && { [ $status -eq 0 ] || [[ $said != *"$file includes $include"* ]]; }; then
        echo "FAIL: $file including $include was let through" >&2
        failures=$((failures + 1))
    elif [ "$expected" = passes ] && [ $status -ne 0 ]; then
        echo "FAIL: $file including $include was refused: $said" >&2
        failures=$((failures + 1))
    fi
}

linux=platform/linux
rooms=(proc x11 wayland gnome session store tray)
declare -A source header
for room in "${rooms[@]}"; do
    source[$room]=$(cd "$src" && ls $linux/$room/*.cpp | head -1)
    header[$room]=$(cd "$src" && ls $linux/$room/*.h | head -1)
done
for from in "${rooms[@]}"; do
    for into in "${rooms[@]}"; do
        [ "$from" = "$into" ] && continue
        expected=fails
        [[ $from == session && ($into == x11 || $into == wayland) ]] && expected=passes
        plant "${source[$from]}" "${header[$into]}" "$expected"
    done
done
plant "$linux/WindowTitle.cpp" "${header[x11]}" fails
plant "$linux/WalkOrder.h" "${header[wayland]}" fails
plant "$linux/PlatformServices.cpp" "${header[gnome]}" passes
plant "${source[x11]}" "$linux/FileDescriptor.h" passes
plant "${source[proc]}" "platform/win32/Handles_win32.h" fails
plant "app/Form1.cpp" "${header[session]}" fails
plant "proc/ProcessPass.cpp" "app/Form1.h" fails
[ $failures -eq 0 ] && echo PASS
