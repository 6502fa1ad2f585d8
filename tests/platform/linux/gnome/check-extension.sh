#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The GNOME Shell extension as the shell runs it (run-test.sh gnome), asked on
# the session bus as the program asks it: a window with its process and its
# title cut as X11 titles are; no close for a window the shell does not know.
# (The program's tests on this shell list and close through it.) The form
# for later shells, which this one passes over, is at least valid JavaScript.
# With the extension not enabled (run-test.sh gnome-disabled), the program
# says once how to enable it, and goes on.
#   check-extension.sh BUILD [disabled]
set -uo pipefail
build=$1
scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ "${2:-}" = disabled ]; then
    # Refreshed every half second, it asks the shell again and again.
    printf '[Trelvanix]\nOption3=False\nOption4=True\nText1=0.5\n' >"$XDG_CONFIG_HOME/Quorbel.conf"
    "$build/trelvanix" 2>"$scratch/said" &
    program=$!
    timeout 20 xdotool search --sync --onlyvisible --pid "$program" --name "^Trelvanix$" >/dev/null
    sleep 2
    kill -TERM "$program"
    wait "$program" || fail "the program ended with $?: $(cat "$scratch/said")"
    [ "$(grep -c 'gnome-extensions enable windows@trelvanix' "$scratch/said")" = 1 ] ||
        fail "the program did not say once how to enable the extension: $(cat "$scratch/said")"
    echo "said once how to enable the extension"
    exit 0
fi
call() {
    gdbus call --session --dest org.gnome.Shell --object-path /org/trelvanix/Windows \
        --method "org.trelvanix.Windows1.$1" "${@:2}"
}
# The windows, top first, a line each: ID, process ID and title.
windows() {
    call List | python3 -c '
import ast, re, sys
reply = ast.literal_eval(re.sub(r"@a\(tis\) |uint64 ", "", sys.stdin.read()))
for window in reply[1]:
    print(*window, sep="\t")'
}

cp "$build/share/gnome-shell/extensions/windows@trelvanix/extension.js" "$scratch/extension.mjs"
node --check "$scratch/extension.mjs" || fail "the extension for GNOME 45 and later does not parse"

coproc client { exec "$build/trelvanix-wlclient"; }
echo "open long $(printf 'x%.0s' $(seq 1500))" >&"${client[1]}"
read -r -t 10 answer <&"${client[0]}" && [ "$answer" = "mapped long" ] || fail "no window came"
[ "$(windows | cut -f2,3)" = "$(printf '%s\t%s' "$client_PID" "$(printf 'x%.0s' $(seq 1024))")" ] ||
    fail "the window is listed as: $(windows | cut -c1-80)"
[ "$(call Close 0)" = "(false,)" ] || fail "a window the shell does not know was closed"
echo "listed with its process and its title cut"
