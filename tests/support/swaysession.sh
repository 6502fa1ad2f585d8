# A private headless sway with XWayland, run as nobody because sway refuses
# to run as root.
#   source swaysession.sh; start_swaysession SCRATCH_DIR; ...; stop_swaysession
# start_swaysession returns once sway and its XWayland take clients, and exports
#   WAYLAND_DISPLAY  the absolute path of sway's socket, so that the test keeps
#                    its own XDG_RUNTIME_DIR
#   DISPLAY          sway's XWayland, which lets root in
#   SWAYSOCK         sway's IPC socket, for swaymsg
# Nothing of the machine's own sessions is inherited or touched.

swaysession_user=65534

# Waits up to 10 s for FILE to appear; says what LOG holds when it does not.
#   await_file FILE LOG WHAT
await_file() {
    for _ in $(seq 1000); do
        [ -e "$1" ] && return 0
        sleep 0.01
    done
    echo "$3 did not start:" >&2
    cat "$2" >&2
    return 1
}

start_swaysession() {
    local scratch=$1
    sway_dir=$scratch/sway
    # sway's own runtime folder, reached by nobody through the scratch folder.
    chmod 0711 "$scratch" &&
        mkdir -m 0700 "$sway_dir" &&
        chown "$swaysession_user:$swaysession_user" "$sway_dir" || return 1
    # sway hands DISPLAY, SWAYSOCK and its socket's name only to its own
    # children: one of them passes them on, once XWayland lets root in.
    cat >"$sway_dir/config" <<'EOF'
xwayland enable
exec sh -c 'xhost +si:localuser:root >/dev/null && printf "%s\n%s\n%s\n" "$WAYLAND_DISPLAY" "$DISPLAY" "$SWAYSOCK" >"$XDG_RUNTIME_DIR/session.part" && mv "$XDG_RUNTIME_DIR/session.part" "$XDG_RUNTIME_DIR/session"'
EOF
    env -i PATH="$PATH" HOME="$sway_dir" XDG_RUNTIME_DIR="$sway_dir" \
        WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        setpriv --reuid=$swaysession_user --regid=$swaysession_user --clear-groups \
        sway --config "$sway_dir/config" >"$scratch/sway.log" 2>&1 &
    sway_pid=$!
    await_file "$sway_dir/session" "$scratch/sway.log" "sway with XWayland" || return 1
    local session
    mapfile -t session <"$sway_dir/session"
    export WAYLAND_DISPLAY=$sway_dir/${session[0]} DISPLAY=${session[1]} SWAYSOCK=${session[2]}
    sway_display=${DISPLAY#:}
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

stop_swaysession() {
    [ -n "${sway_pid:-}" ] || return 0
    # sway 1.7 can crash while it ends just after XWayland windows went away;
    # what it leaves behind is removed below, and the shell's word of the crash
    # goes to its log, not to the test's output.
    exec 3>&2 2>>"$sway_dir/../sway.log"
    end_process "$sway_pid"
    exec 2>&3 3>&-
    # XWayland and the config's commands are sway's grandchildren, not ours: they
    # are known by the runtime folder that only this session's processes carry.
    local environ pid
    for environ in $(grep -lzxF "XDG_RUNTIME_DIR=$sway_dir" /proc/[0-9]*/environ 2>/dev/null); do
        pid=${environ#/proc/}
        kill -KILL "${pid%/environ}" 2>/dev/null
    done
    # A sway that had to be killed leaves its X display's lock and socket behind.
    if [ -n "${sway_display:-}" ] &&
        [ "$(tr -cd 0-9 2>/dev/null <"/tmp/.X$sway_display-lock")" = "$sway_pid" ]; then
        rm -f "/tmp/.X$sway_display-lock" "/tmp/.X11-unix/X$sway_display"
    fi
    sway_pid="" sway_display=""
}
