# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A private X display with IceWM as window manager and tray host.
#   source xsession.sh; start_xsession SCRATCH_DIR XTOOL [bare]; ...; stop_xsession
# start_xsession exports DISPLAY and returns once the window manager runs and
# the tray has a host; "bare" leaves the display without either. A free
# display number is picked by Xvfb itself. start_sni_session then adds a
# session bus with a StatusNotifierItem tray and a notification daemon.

source "$(dirname "${BASH_SOURCE[0]}")/sessions.sh"

# Starts COMMAND in the background in a process group of its own, its PID in
# $!: a terminal's Ctrl+C, sent to its foreground group, then reaches the
# programs run on the display but not the display's servers, which stay until
# stop_xsession ends them.
#   in_own_group COMMAND...
in_own_group() {
    local -
    set -m
    "$@" &
}

start_xsession() {
    local scratch=$1 xtool=$2 bare=${3:-}
    in_own_group Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 \
        3>"$scratch/display" >"$scratch/xvfb.log" 2>&1
    xvfb_pid=$!
    await_line "$scratch/display" "$scratch/xvfb.log" Xvfb || return 1
    export DISPLAY=":$(head -n 1 "$scratch/display")"
    [ "$bare" = bare ] && return 0
    in_own_group icewm >"$scratch/icewm.log" 2>&1
    icewm_pid=$!
    if ! "$xtool" wait-desktop 30; then
        echo "IceWM did not become window manager and tray host:" >&2
        cat "$scratch/icewm.log" >&2
        return 1
    fi
}

# A session bus of the display's own, with lxqt-panel as StatusNotifierItem
# host and dunst as notification daemon; exports DBUS_SESSION_BUS_ADDRESS, and
# the panel's PID as TRELVANIX_SNI_PANEL_PID for a test that ends it, and
# returns once both are on the bus. XDG_CONFIG_HOME must be set.
#   start_sni_session SCRATCH_DIR
start_sni_session() {
    local scratch=$1
    # Nothing is started on demand: only what this session runs is on its bus.
    cat >"$scratch/bus.conf" <<EOF
<busconfig>
  <type>session</type>
  <listen>unix:dir=$scratch</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    in_own_group dbus-daemon --config-file="$scratch/bus.conf" --nofork --nopidfile --print-address=3 \
        3>"$scratch/bus" >"$scratch/bus.log" 2>&1
    bus_pid=$!
    await_line "$scratch/bus" "$scratch/bus.log" "The session bus" || return 1
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$scratch/bus")
    export DBUS_SESSION_BUS_ADDRESS
    mkdir -p "$XDG_CONFIG_HOME/lxqt"
    printf '[General]\npanels=panel1\n[panel1]\nplugins=tray\n[tray]\ntype=statusnotifier\n' \
        >"$XDG_CONFIG_HOME/lxqt/panel.conf"
    QT_QPA_PLATFORM=xcb in_own_group lxqt-panel >"$scratch/panel.log" 2>&1
    panel_pid=$!
    export TRELVANIX_SNI_PANEL_PID=$panel_pid
    # Every notification stays until it is closed, as where the daemon ignores
    # the time a program asks for: one that nobody takes down stays in sight.
    printf '[stay]\noverride_dbus_timeout = 0\n' >"$scratch/dunstrc"
    in_own_group dunst -config "$scratch/dunstrc" >"$scratch/dunst.log" 2>&1
    dunst_pid=$!
    for _ in $(seq 300); do
        dbus-send --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
            org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
            string:IsStatusNotifierHostRegistered 2>/dev/null | grep -q 'boolean true' &&
            dunstctl count displayed >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "No StatusNotifierItem host and notification daemon came on the bus:" >&2
    cat "$scratch/bus.log" "$scratch/panel.log" "$scratch/dunst.log" >&2
    return 1
}

stop_xsession() {
    local pid
    for pid in "${dunst_pid:-}" "${panel_pid:-}" "${bus_pid:-}"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    dunst_pid="" panel_pid="" bus_pid=""
    [ -n "${icewm_pid:-}" ] && kill "$icewm_pid" 2>/dev/null && wait "$icewm_pid" 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    icewm_pid="" xvfb_pid=""
    return 0
}
