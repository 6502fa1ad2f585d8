#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails, naming the file and the include, when a source file includes a layer
# above its own. A backend (platform/linux, platform/win32) may include the
# platform headers, its own folder and common, never the other backend.
set -u
src=${1:-src}
declare -A may=(
    [app]="app proc tray settings common platform"
    [settings]="settings common platform"
    [proc]="proc common platform"
    [tray]="tray common platform"
    [common]="common"
    [platform]="platform common"
)
status=0
while IFS= read -r -d '' file; do
    relative=${file#"$src"/}
    [[ $relative == */* ]] || continue # the program's own main.cpp
    layer=${relative%%/*}
    folder=$(dirname "$relative")
    while IFS= read -r included; do
        [[ $included == */* ]] || continue
        top=${included%%/*}
        ok=1
        [[ " ${may[$layer]:-} " == *" $top "* ]] || ok=0
        # Within platform/, only the headers and the file's own backend.
        if [[ $top == platform && $(dirname "$included") != platform &&
              $(dirname "$included") != "$folder" ]]; then
            ok=0
        fi
        if ((!ok)); then
            echo "$file includes $included, above or beside its layer" >&2
            status=1
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -name '*.cpp' -print0 -o -name '*.h' -print0)
exit $status
