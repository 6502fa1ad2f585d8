# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A private headless GNOME Shell on a virtual monitor, with XWayland, on a
# session bus of its own; the program's shell extensions are looked for in
# BUILD/share, as a package installs them under /usr/share.
#   source gnomesession.sh; start_gnomesession SCRATCH_DIR BUILD [disabled]; ...; stop_gnomesession
# With "disabled" the extension is there but not enabled, as after a package's
# install. start_gnomesession returns once the shell takes clients (and the
# extension answers, when enabled), and exports
#   WAYLAND_DISPLAY           the absolute path of the shell's socket
#   DISPLAY, XAUTHORITY       the shell's XWayland, which lets in the user it runs as
#   DBUS_SESSION_BUS_ADDRESS  the shell's session bus, where it is org.gnome.Shell
#   XDG_CURRENT_DESKTOP       GNOME, as a GNOME session tells its programs
# The shell asks a system bus about logins; a bus of its own stands in for it.
# Nothing of the machine's own sessions is inherited or touched.

source "$(dirname "${BASH_SOURCE[0]}")/sessions.sh"

start_gnomesession() {
    local scratch=$1 build enabled="['windows-legacy@trelvanix', 'windows@trelvanix']"
    [ "${3:-}" = disabled ] && enabled="@as []"
    build=$(cd "$2" && pwd) || return 1 # the shell reads only whole paths
    gnome_dir=$scratch/gnome
    mkdir -m 0700 "$gnome_dir" && mkdir -p "$gnome_dir/home" || return 1
    dbus-daemon --session --address="unix:path=$gnome_dir/system-bus" --nofork --nopidfile \
        --print-address=1 >"$gnome_dir/system-bus.address" 2>"$scratch/gnome.log" &
    gnome_system_bus_pid=$!
    await_line "$gnome_dir/system-bus.address" "$scratch/gnome.log" "the system bus's stand-in" ||
        return 1
    # Inside the session bus: the settings the shell reads at its start, then
    # the shell; the bus's address is passed on before.
    cat >"$gnome_dir/session" <<EOF
echo "\$DBUS_SESSION_BUS_ADDRESS" >"$gnome_dir/session-bus.address"
gsettings set org.gnome.shell disable-user-extensions false &&
    gsettings set org.gnome.shell enabled-extensions "$enabled" || exit 1
exec gnome-shell --headless --wayland --virtual-monitor 1280x800
EOF
    env -i PATH="$PATH" HOME="$gnome_dir/home" XDG_RUNTIME_DIR="$gnome_dir" \
        XDG_DATA_DIRS="$build/share:/usr/local/share:/usr/share" \
        DBUS_SYSTEM_BUS_ADDRESS="unix:path=$gnome_dir/system-bus" \
        dbus-run-session -- sh "$gnome_dir/session" >>"$scratch/gnome.log" 2>&1 &
    gnome_pid=$!
    await_line "$gnome_dir/session-bus.address" "$scratch/gnome.log" "The shell's session bus" ||
        return 1
    export DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$(cat "$gnome_dir/session-bus.address")
    # The shell's own extension service comes up after the extensions it loads.
    local path=/org/gnome/Shell interface=org.gnome.Shell.Extensions
    [ "${3:-}" = disabled ] || path=/org/trelvanix/Windows interface=org.trelvanix.Windows1
    local answered=""
    for _ in $(seq 300); do
        gdbus introspect --session --dest org.gnome.Shell --object-path "$path" 2>/dev/null |
            grep -q "interface $interface " && answered=yes && break
        sleep 0.1
    done
    gnome_display=$(sed -n 's/.*Using public X11 display :\([0-9]*\).*/\1/p' "$scratch/gnome.log" | head -1)
    if [ -z "$answered" ] || [ -z "$gnome_display" ] || ! [ -S "$gnome_dir/wayland-0" ]; then
        echo "GNOME Shell did not start:" >&2
        cat "$scratch/gnome.log" >&2
        return 1
    fi
    export WAYLAND_DISPLAY=$gnome_dir/wayland-0 DISPLAY=:$gnome_display XDG_CURRENT_DESKTOP=GNOME
    XAUTHORITY=$(ls "$gnome_dir"/.mutter-Xwaylandauth.* | head -1)
    export XAUTHORITY
}

stop_gnomesession() {
    [ -n "${gnome_pid:-}" ] || return 0
    # The shell ends on SIGTERM by a crash of its own; that goes to its log.
    exec 3>&2 2>>"$gnome_dir/../gnome.log"
    end_compositor "$gnome_pid" "$gnome_dir" "${gnome_display:-}"
    end_process "$gnome_system_bus_pid"
    exec 2>&3 3>&-
    gnome_pid="" gnome_display=""
}
