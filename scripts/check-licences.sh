#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Every file of the checkout says whose it is and under which licence
# (`reuse lint`). Where the source is not a git checkout of its own, such as
# an unpacked source archive, the build folders would count as files of the
# project: skipped there.
set -u
root=${1:?the source folder}
if [ "$(git -C "$root" rev-parse --show-toplevel 2>/dev/null)" != "$(cd "$root" && pwd -P)" ]; then
    echo "not a git checkout: the licence check is skipped"
    exit 77
fi
reuse --root "$root" lint
