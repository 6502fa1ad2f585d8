#!/usr/bin/env bash
# The program installed into a temporary root and started there through its
# link in bin/, on the test's display: its window maps and it opens its hand
# cursor from its own folder and its icon from the installed theme.
#   check-install.sh BUILD_DIR
set -uo pipefail
build=$1
root=$(mktemp -d)
tracer=""
finish() {
    [ -n "$tracer" ] && kill "$tracer" 2>/dev/null && wait "$tracer" 2>/dev/null
    rm -rf "$root"
}
trap finish EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR=$root cmake --install "$build" --prefix /usr >"$root/install.log" ||
    fail "cmake --install: $(cat "$root/install.log")"
usr=$root/usr
[ "$(readlink "$usr/bin/trelvanix")" = ../lib/trelvanix/trelvanix ] ||
    fail "bin/trelvanix is not a relative link to the program"
desktop-file-validate "$usr/share/applications/trelvanix.desktop" || fail "the menu entry"
appstreamcli validate --no-net --pedantic "$usr"/share/metainfo/*.metainfo.xml >"$root/appstream.log" ||
    fail "the metainfo: $(cat "$root/appstream.log")"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/trelvanix.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page: $warnings"

# The theme is looked for where XDG_DATA_DIRS says; the system's folder
# gives hicolor's description. LeakSanitizer cannot run under a tracer.
XDG_DATA_DIRS=$usr/share:/usr/share ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 \
    strace -f -qq -e trace=openat -e status=successful -o "$root/trace" "$usr/bin/trelvanix" &
tracer=$!
# The display is the test's own: the one window of that title is the program's.
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Trelvanix$' | head -n 1)
[ -n "$window" ] || fail "the window did not map"
program=$(xdotool getwindowpid "$window")
[ "$(ps -o ppid= -p "$program" | tr -d ' ')" = "$tracer" ] || fail "the window is not the program's"
# Ends as closing the window does; the tracer ends with it.
kill -TERM "$program"
wait "$tracer"
tracer=""

opened() { grep -q "openat(.*\"$1\"" "$root/trace"; }
opened "$usr/lib/trelvanix/HAND-M.CUR" || fail "the hand cursor was not opened"
opened "$usr/share/icons/hicolor/[0-9]*x[0-9]*/apps/trelvanix.png" ||
    fail "the icon was not taken from the installed theme"
echo "PASS"
