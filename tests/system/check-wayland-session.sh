#!/usr/bin/env bash
# The private sway of `run-test.sh sway` as the system tests use it: the test
# client's native windows appear with their titles, close when sway asks or
# stay when they refuse, and an X11 window maps on the XWayland it exports.
#   run-test.sh sway check-wayland-session.sh   with TRELVANIX_BUILD_DIR set
set -euo pipefail
build=${TRELVANIX_BUILD_DIR:?}
for variable in WAYLAND_DISPLAY DISPLAY SWAYSOCK; do
    [ -n "${!variable:-}" ] || { echo "$variable is not set: run through run-test.sh sway" >&2 && exit 1; }
done

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Views of sway's tree whose jq FILTER holds, as one compact line each.
#   views FILTER
views() {
    swaymsg -t get_tree | jq -c "[.. | objects | select(.type? == \"con\" or .type? == \"floating_con\") | select($1)]"
}

# Waits up to 10 s for the views that FILTER selects to number COUNT.
#   await_views COUNT FILTER WHAT
await_views() {
    for _ in $(seq 200); do
        [ "$(views "$2" | jq length)" = "$1" ] && return 0
        sleep 0.05
    done
    fail "$3: $(views "$2")"
}

coproc client { exec "$build/trelvanix-wlclient" --app-id trelvanix-session-check; }
trap 'kill "${client_PID:-}" "${xclient:-}" 2>/dev/null || true' EXIT
send() { printf '%s\n' "$1" >&"${client[1]}"; }
expect() {
    local line
    read -r -t 10 line <&"${client[0]}" || fail "no answer from the client, wanted \"$1\""
    [ "$line" = "$1" ] || fail "the client said \"$line\", wanted \"$1\""
}

send "open one First window"
expect "mapped one"
send "open two Second window"
expect "mapped two"
send "title two Second window, renamed"
expect "titled two"
for title in "First window" "Second window, renamed"; do
    await_views 1 ".name == \"$title\" and .app_id == \"trelvanix-session-check\"" "no view \"$title\""
done

swaymsg -q '[title="^Second window, renamed$"] kill'
expect "closed two"
await_views 0 '.name == "Second window, renamed"' "the closed window is still there"

send "refuse one"
swaymsg -q '[title="^First window$"] kill'
expect "asked one"
await_views 1 '.name == "First window"' "the refusing window went away"

# XWayland's windows are views of their own kind; what sway knows of one is
# what the task pass can tell the program's own window by.
"$build/trelvanix-xtool" windows 1 "An X11 window" >"$XDG_RUNTIME_DIR/xclient" &
xclient=$!
await_views 1 '.name == "An X11 window" and .shell == "xwayland"' "no XWayland view"
echo "An XWayland view in sway's tree:"
views '.shell == "xwayland"' | jq '.[0] | {shell, app_id, pid, window_properties}'
swaymsg -q '[title="^An X11 window$"] kill'
wait "$xclient" || fail "the X11 window did not close when sway asked"
xclient=""

eval "exec ${client[1]}>&-"
wait "$client_PID" || fail "the client did not end cleanly at the end of its input"
echo "PASS"
