# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A private headless sway with XWayland, run as nobody because sway refuses
# to run as root.
#   source swaysession.sh; start_swaysession SCRATCH_DIR; ...; stop_swaysession
# start_swaysession returns once sway and its XWayland take clients, and exports
#   WAYLAND_DISPLAY  the absolute path of sway's socket, so that the test keeps
#                    its own XDG_RUNTIME_DIR
#   DISPLAY          sway's XWayland, which lets root in
#   SWAYSOCK         sway's IPC socket, for swaymsg
# Nothing of the machine's own sessions is inherited or touched.

source "$(dirname "${BASH_SOURCE[0]}")/sessions.sh"

swaysession_user=65534

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
    await_line "$sway_dir/session" "$scratch/sway.log" "sway with XWayland" || return 1
    local session
    mapfile -t session <"$sway_dir/session"
    export WAYLAND_DISPLAY=$sway_dir/${session[0]} DISPLAY=${session[1]} SWAYSOCK=${session[2]}
    sway_display=${DISPLAY#:}
}

stop_swaysession() {
    [ -n "${sway_pid:-}" ] || return 0
    # sway 1.7 can crash while it ends just after XWayland windows went away;
    # the shell's word of the crash goes to its log, not to the test's output.
    exec 3>&2 2>>"$sway_dir/../sway.log"
    end_compositor "$sway_pid" "$sway_dir" "${sway_display:-}"
    exec 2>&3 3>&-
    sway_pid="" sway_display=""
}
