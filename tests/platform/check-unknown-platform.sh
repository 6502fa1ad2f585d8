#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A port adds src/platform/<name>/ and names it, and nothing else breaks: a
# platform no build knows, made of Linux's layer, configures, and its tests
# are the shared unit tests alone.  check-unknown-platform.sh SOURCE_DIR
set -euo pipefail
source=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The sources as links, with one more platform folder beside the others.
copy=$scratch/source
mkdir -p "$copy/src/platform/fakeos"
for entry in "$source"/* "$source"/src/* "$source"/src/platform/*; do
    folder=$copy${entry#"$source"}
    [ -e "$folder" ] || ln -s "$entry" "$folder"
done
echo 'add_subdirectory(${CMAKE_CURRENT_SOURCE_DIR}/../linux ${CMAKE_CURRENT_BINARY_DIR}/linux)' \
    >"$copy/src/platform/fakeos/CMakeLists.txt"

cmake -S "$copy" -B "$scratch/build" -G Ninja -DTRELVANIX_PLATFORM=fakeos -DTRELVANIX_PCH=OFF \
    >"$scratch/configure.log" 2>&1 || { cat "$scratch/configure.log"; exit 1; }
tests=$(ctest --test-dir "$scratch/build" -N)
if ! grep -q test_app_listview <<<"$tests" || grep -qi linux <<<"$tests" ||
    ctest --test-dir "$scratch/build" -N -L system | grep -q 'Test *#'; then
    echo "$tests"
    echo "FAIL: the unknown platform's tests are not the shared unit tests alone"
    exit 1
fi
echo "PASS: an unknown platform configures with the shared unit tests alone"
