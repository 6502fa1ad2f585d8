#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails, naming the file and the include, when a source file includes a layer
# above its own, or a platform room it must not know:  check-layers.sh [SRC]
# A backend (platform/linux, platform/win32) includes the platform headers,
# common and itself, never the other backend. Within a backend, each room (a
# folder: proc, x11, wayland, gnome, store, tray, session) includes itself
# and the backend's shared files beside the rooms; only the backend's entry
# points named in `joins` put rooms together, and the session choice alone
# knows both window systems.
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
# The backend's entry points beside the rooms: they build its services.
declare -A joins=(
    [linux]="PlatformServices.cpp SessionBus.cpp"
)

# The room of a path below platform/BACKEND/, empty for the backend's own
# files, in $room_of (no subshell: the check runs over every include).
room_of() {
    local rest=${1#platform/"$2"}
    rest=${rest#/}
    room_of=${rest%%/*}
}

# Whether FILE (in FOLDER) may include INCLUDED, as far as the platform goes.
platform_allows() {
    local file=$1 folder=$2 included=$3
    local into=${included%/*}
    [[ $into == platform ]] && return 0 # the headers
    [[ $into == platform/* ]] || return 0
    [[ $folder == platform/* ]] || return 1 # only a backend knows a backend
    local backend=${folder#platform/}
    backend=${backend%%/*}
    local rest=${into#platform/}
    [[ ${rest%%/*} == "$backend" ]] || return 1
    local room into_room
    room_of "$folder" "$backend"
    room=$room_of
    room_of "$into" "$backend"
    into_room=$room_of
    [[ -z $into_room || $into_room == "$room" ]] && return 0
    [[ -z $room && $folder == "platform/$backend" && " ${joins[$backend]:-} " == *" ${file##*/} "* ]] &&
        return 0
    [[ " ${room_may[$backend/$room]:-} " == *" $into_room "* ]]
}

status=0
# One line per include: FILE:#include "INCLUDED"
while IFS= read -r line; do
    file=${line%%:#include*}
    included=${line#*:#include \"}
    included=${included%%\"*}
    relative=${file#"$src"/}
    [[ $relative == */* && $included == */* ]] || continue # main.cpp; system headers
    layer=${relative%%/*}
    folder=${relative%/*}
    if [[ " ${may[$layer]:-} " != *" ${included%%/*} "* ]] ||
        ! platform_allows "$relative" "$folder" "$included"; then
        echo "$file includes $included, above or beside its layer" >&2
        status=1
    fi
done < <(grep -r -H --include='*.cpp' --include='*.h' '^#include "' "$src")
exit $status
