#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# `cmake --install` into a temporary root: the tree there is complete.
#   check-install.sh BUILD_DIR
set -uo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR=$root cmake --install "$1" --prefix /usr >"$root/install.log" || {
    echo "FAIL: cmake --install: $(cat "$root/install.log")" >&2
    exit 1
}
bash "$(dirname "$0")/check-tree.sh" "$root" && echo PASS
