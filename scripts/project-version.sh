# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced: $version is the one project() in the top CMakeLists.txt gives.
version=$(sed -n 's/^project(Trelvanix VERSION \([0-9.]*\).*/\1/p' \
    "$(dirname "${BASH_SOURCE[0]}")/../CMakeLists.txt")
[ -n "$version" ] || { echo "FAIL: no version in project()" >&2; exit 1; }
