# A private X display with IceWM as window manager and tray host.
#   source xsession.sh; start_xsession SCRATCH_DIR XTOOL [bare]; ...; stop_xsession
# start_xsession exports DISPLAY and returns once the window manager runs and
# the tray has a host; "bare" leaves the display without either. A free
# display number is picked by Xvfb itself.
start_xsession() {
    local scratch=$1 xtool=$2 bare=${3:-}
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 \
        3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$scratch/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$scratch/display" ]; then
        echo "Xvfb did not start:" >&2
        cat "$scratch/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$scratch/display")"
    [ "$bare" = bare ] && return 0
    icewm >"$scratch/icewm.log" 2>&1 &
    icewm_pid=$!
    if ! "$xtool" wait-desktop 30; then
        echo "IceWM did not become window manager and tray host:" >&2
        cat "$scratch/icewm.log" >&2
        return 1
    fi
}

stop_xsession() {
    [ -n "${icewm_pid:-}" ] && kill "$icewm_pid" 2>/dev/null && wait "$icewm_pid" 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    icewm_pid="" xvfb_pid=""
    return 0
}
