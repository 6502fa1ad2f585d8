#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails, naming the file and the include, when a source file includes a layer
# above its own, or a platform room it must not know:  check-layers.sh [SRC]
# A backend (platform/linux, platform/win32) includes the platform headers,
# common and itself, never the other backend. Within a backend, each room (a
# folder: proc, x11, wayland, store, tray, session) includes itself and the
# backend's shared files beside the rooms; only the backend's own sources
# there put rooms together, and the session choice alone knows both window
# systems.
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
declare -A room_may=(
    [linux/session]="x11 wayland"
)

# The room of a path below platform/BACKEND/, empty for the backend's own files.
room_of() {
    local rest=${1#platform/"$2"}
    rest=${rest#/}
    echo "${rest%%/*}"
}

# Whether FILE (in FOLDER) may include INCLUDED, as far as the platform goes.
platform_allows() {
    local file=$1 folder=$2 included=$3
    local into=$(dirname "$included")
    [[ $into == platform ]] && return 0 # the headers
    [[ $into == platform/* ]] || return 0
    [[ $folder == platform/* ]] || return 1 # only a backend knows a backend
    local backend=${folder#platform/}
    backend=${backend%%/*}
    local rest=${into#platform/}
    [[ ${rest%%/*} == "$backend" ]] || return 1
    local room into_room
    room=$(room_of "$folder" "$backend")
    into_room=$(room_of "$into" "$backend")
    [[ -z $into_room || $into_room == "$room" ]] && return 0
    [[ -z $room && $file == *.cpp ]] && return 0
    [[ " ${room_may[$backend/$room]:-} " == *" $into_room "* ]]
}

status=0
while IFS= read -r -d '' file; do
    relative=${file#"$src"/}
    [[ $relative == */* ]] || continue # the program's own main.cpp
    layer=${relative%%/*}
    folder=$(dirname "$relative")
    while IFS= read -r included; do
        [[ $included == */* ]] || continue
        top=${included%%/*}
        if [[ " ${may[$layer]:-} " != *" $top "* ]] ||
            ! platform_allows "$relative" "$folder" "$included"; then
            echo "$file includes $included, above or beside its layer" >&2
            status=1
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -name '*.cpp' -print0 -o -name '*.h' -print0)
exit $status
