# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What the private sessions share (xsession.sh, swaysession.sh, kwinsession.sh).

# Waits up to 10 s for a server to write its first line to FILE; says what
# its LOG holds when it does not.
#   await_line FILE LOG WHAT
await_line() {
    for _ in $(seq 1000); do
        [ -s "$1" ] && return 0
        sleep 0.01
    done
    echo "$3 did not start:" >&2
    cat "$2" >&2
    return 1
}

# Ends a process of ours, waiting up to 5 s before killing it.
#   end_process PID
end_process() {
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 500); do
        [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" = Z ] && break
        [ -e "/proc/$1" ] || break
        sleep 0.01
    done
    kill -KILL "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

# Ends a compositor of ours and what it started.
#   end_compositor PID RUNTIME_DIR X_DISPLAY_NUMBER
end_compositor() {
    end_process "$1"
    # XWayland and the compositor's other children are not ours: they are known
    # by the runtime folder that only this session's processes carry.
    local environ pid
    for environ in $(grep -lzxF "XDG_RUNTIME_DIR=$2" /proc/[0-9]*/environ 2>/dev/null); do
        pid=${environ#/proc/}
        kill -KILL "${pid%/environ}" 2>/dev/null
    done
    # A compositor that had to be killed leaves its X display's lock and socket behind.
    if [ -n "$3" ] && [ "$(tr -cd 0-9 2>/dev/null <"/tmp/.X$3-lock")" = "$1" ]; then
        rm -f "/tmp/.X$3-lock" "/tmp/.X11-unix/X$3"
    fi
}
