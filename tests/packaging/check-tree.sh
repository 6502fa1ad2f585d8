#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# An installed tree under ROOT/usr: its metadata passes the desktop's own
# validators, and the program started through its link in bin/ on the test's
# display maps its window and opens its hand cursor from its own folder and
# its icon from the installed theme.
#   check-tree.sh ROOT
set -uo pipefail
usr=$1/usr
scratch=$(mktemp -d)
tracer=""
finish() {
    [ -n "$tracer" ] && kill "$tracer" 2>/dev/null && wait "$tracer" 2>/dev/null
    rm -rf "$scratch"
}
trap finish EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ "$(readlink "$usr/bin/trelvanix")" = ../lib/trelvanix/trelvanix ] ||
    fail "bin/trelvanix is not a relative link to the program"
# GNOME Shell loads an extension only from the folder named as its uuid.
for folder in windows@trelvanix windows-legacy@trelvanix; do
    extension=$usr/share/gnome-shell/extensions/$folder
    [ -s "$extension/extension.js" ] &&
        [ "$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["uuid"])' \
            "$extension/metadata.json")" = "$folder" ] || fail "no GNOME Shell extension in $extension"
done
entry=$usr/share/applications/trelvanix.desktop
desktop-file-validate "$entry" || fail "the menu entry"
grep -qx "Exec=/usr/lib/trelvanix/trelvanix" "$entry" || fail "the menu entry names no installed program"
# Clean means not even a pedantic note, which alone would not fail it.
appstreamcli validate --no-net --pedantic "$usr"/share/metainfo/*.metainfo.xml >"$scratch/appstream.log" &&
    ! grep -q '^[EWIP]: ' "$scratch/appstream.log" || fail "the metainfo: $(cat "$scratch/appstream.log")"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/trelvanix.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page: $warnings"

# The theme is looked for where XDG_DATA_DIRS says; the system's folder
# gives hicolor's description. LeakSanitizer cannot run under a tracer.
XDG_DATA_DIRS=$usr/share:/usr/share ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 \
    strace -f -qq -e trace=openat -e status=successful -o "$scratch/trace" "$usr/bin/trelvanix" &
tracer=$!
# The display is the test's own: the one window of that title is the program's.
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Trelvanix$' | head -n 1)
[ -n "$window" ] || fail "the window did not map"
program=$(xdotool getwindowpid "$window")
[ "$(ps -o ppid= -p "$program" | tr -d ' ')" = "$tracer" ] || fail "the window is not the program's"
opened() { grep -q "openat(.*\"$1\"" "$scratch/trace"; }
# The theme is asked once the window is up.
theme_icon="$usr/share/icons/hicolor/[0-9]*x[0-9]*/apps/trelvanix.png"
for _ in $(seq 100); do opened "$theme_icon" && break; sleep 0.1; done
# Ends as closing the window does; the tracer ends with it.
kill -TERM "$program"
wait "$tracer"
tracer=""

opened "$usr/lib/trelvanix/HAND-M.CUR" || fail "the hand cursor was not opened"
opened "$theme_icon" || fail "the icon was not taken from the installed theme"
