#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The GNOME Shell extension as the shell runs it (run-test.sh gnome), asked on
# the session bus as the program asks it: native and XWayland windows listed
# once each, top first, with their process and their title cut as X11 titles
# are; the polite close ends a window that agrees and leaves one that refuses
# or that the shell does not know. The form for later shells, which this one
# passes over, is at least valid JavaScript.
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
idOf() { windows | awk -F'\t' -v title="$1" '$3 == title { print $1 }'; }

cp "$build/share/gnome-shell/extensions/windows@trelvanix/extension.js" "$scratch/extension.mjs"
node --check "$scratch/extension.mjs" || fail "the extension for GNOME 45 and later does not parse"

coproc client { exec "$build/trelvanix-wlclient"; }
ask() {
    echo "$1" >&"${client[1]}"
    local answer
    read -r -t 10 answer <&"${client[0]}" && [ "$answer" = "$2" ] ||
        fail "the client answered '${answer:-nothing}' to '$1', not '$2'"
}
long=$(printf 'x%.0s' $(seq 1500))
ask "open agrees Agreeing window" "mapped agrees"
ask "open refuses Refusing window" "mapped refuses"
ask "refuse refuses" "refusing refuses"
ask "open long $long" "mapped long"
"$build/trelvanix-xtool" windows 1 "X11 window" >"$scratch/xtool" &
for _ in $(seq 100); do grep -q ready "$scratch/xtool" && break; sleep 0.1; done

expected=$(printf '%s\n' "X11 window" "${long:0:1024}" "Refusing window" "Agreeing window")
for _ in $(seq 50); do [ "$(windows | cut -f3)" = "$expected" ] && break; sleep 0.1; done
[ "$(windows | cut -f3)" = "$expected" ] ||
    fail "the shell's windows, top first, are: $(windows | cut -f3 | cut -c1-40 | tr '\n' '|')"
[ "$(windows | awk -F'\t' -v pid="$client_PID" '$2 == pid' | wc -l)" = 3 ] ||
    fail "the native windows do not name their process $client_PID: $(windows | cut -f1,2)"

[ "$(call Close "$(idOf "Agreeing window")")" = "(true,)" ] || fail "no close was asked"
read -r -t 10 answer <&"${client[0]}" && [ "$answer" = "closed agrees" ] ||
    fail "the agreeing window was not closed: ${answer:-}"
[ "$(call Close "$(idOf "Refusing window")")" = "(true,)" ] || fail "no close was asked"
read -r -t 10 answer <&"${client[0]}" && [ "$answer" = "asked refuses" ] ||
    fail "the refusing window was not asked: ${answer:-}"
[ "$(call Close 0)" = "(false,)" ] || fail "a window the shell does not know was closed"
for _ in $(seq 50); do [ -z "$(idOf "Agreeing window")" ] && break; sleep 0.1; done
[ "$(windows | cut -f3)" = "$(printf '%s\n' "X11 window" "${long:0:1024}" "Refusing window")" ] ||
    fail "after the closes, the shell's windows are: $(windows | cut -f3 | cut -c1-40 | tr '\n' '|')"
echo "listed and closed as the program asks"
