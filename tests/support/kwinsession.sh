# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A private KWin on a virtual output, with XWayland.
#   source kwinsession.sh; start_kwinsession SCRATCH_DIR CLIENT; ...; stop_kwinsession
# start_kwinsession returns once KWin and its XWayland take clients, and exports
#   WAYLAND_DISPLAY  the absolute path of KWin's socket, so that the test keeps
#                    its own XDG_RUNTIME_DIR
#   DISPLAY          KWin's XWayland, which lets in the user KWin runs as
# KWin lets a client see the other windows only when a desktop file names the
# client's executable, CLIENT, as one that may: one is written for it.
# Nothing of the machine's own sessions is inherited or touched.

source "$(dirname "${BASH_SOURCE[0]}")/sessions.sh"

# The desktop file that lets the executable bind KDE's window management.
#   write_window_manager_entry FILE EXECUTABLE
write_window_manager_entry() {
    # Quoted as desktop files quote: ", `, $ and \ take a backslash.
    local exec
    exec=$(printf '%s' "$2" | sed 's/[\\"`$]/\\&/g')
    cat >"$1" <<EOF
[Desktop Entry]
Type=Application
Name=Trelvanix test
NoDisplay=true
Exec="$exec"
X-KDE-Wayland-Interfaces=org_kde_plasma_window_management
EOF
}

start_kwinsession() {
    local scratch=$1 client
    # KWin compares the path that the client's process runs from.
    client=$(realpath -e "$2") || return 1
    kwin_dir=$scratch/kwin
    mkdir -m 0700 "$kwin_dir" && mkdir -p "$kwin_dir/data/applications" || return 1
    write_window_manager_entry "$kwin_dir/data/applications/trelvanix-test.desktop" \
        "$client" || return 1
    # The installed binary carries a file capability that a container may not
    # grant, so that it would not start at all: a plain copy runs.
    cp /usr/bin/kwin_wayland "$kwin_dir/kwin_wayland" || return 1
    # KWin starts this once it and XWayland take clients; it passes on the
    # names that KWin hands only to its own children.
    cat >"$kwin_dir/ready" <<'EOF'
#!/bin/sh
printf '%s\n%s\n' "$WAYLAND_DISPLAY" "$DISPLAY" >"$XDG_RUNTIME_DIR/session.part" &&
    mv "$XDG_RUNTIME_DIR/session.part" "$XDG_RUNTIME_DIR/session"
EOF
    chmod +x "$kwin_dir/ready"
    # QPainter compositing spares the CPU that software OpenGL would take.
    env -i PATH="$PATH" HOME="$kwin_dir" XDG_RUNTIME_DIR="$kwin_dir" KWIN_COMPOSE=Q \
        XDG_DATA_DIRS="$kwin_dir/data:/usr/local/share:/usr/share" \
        "$kwin_dir/kwin_wayland" --virtual --no-lockscreen --xwayland "$kwin_dir/ready" \
        >"$scratch/kwin.log" 2>&1 &
    kwin_pid=$!
    await_line "$kwin_dir/session" "$scratch/kwin.log" "KWin with XWayland" || return 1
    local session
    mapfile -t session <"$kwin_dir/session"
    export WAYLAND_DISPLAY=$kwin_dir/${session[0]} DISPLAY=${session[1]}
    kwin_display=${DISPLAY#:}
}

stop_kwinsession() {
    [ -n "${kwin_pid:-}" ] || return 0
    end_compositor "$kwin_pid" "$kwin_dir" "${kwin_display:-}"
    kwin_pid="" kwin_display=""
}
