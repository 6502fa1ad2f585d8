#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs one Windows test program under Wine, with a Wine prefix and an X
# display of its own:
#   run-wine-test.sh offscreen|desktop|desktop-host COMMAND...
# offscreen runs the toolkit without windows of its own; desktop adds IceWM
# as window manager and tray host, and the toolkit's Windows platform;
# desktop-host runs COMMAND itself, a Linux program that drives Windows ones
# on that desktop, with Wine's windows managed by IceWM as a user's are.
# Needs TRELVANIX_BUILD_DIR, TRELVANIX_WINE_PATH (the folders of the DLLs,
# separated by ":") and, for desktop, TRELVANIX_XTOOL (the Linux build's xtool).
# TRELVANIX_WINE_ARIAL=missing leaves the prefix without Arial, as a new one is.
set -uo pipefail
mode=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xsession.sh"
loader=${TRELVANIX_WINE:-/usr/lib/wine/wine64}
server=$(dirname "$loader")/wineserver

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/wine WINEDEBUG=-all HOME=$scratch/home
mkdir -p "$HOME"
trap '"$server" -k 2>/dev/null; stop_xsession; rm -rf "$scratch"' EXIT

# A new prefix takes Wine some seconds to make, so one is made per build and
# kind and each run gets a copy: hard links, but for the registry that Wine
# rewrites.
arial=${TRELVANIX_WINE_ARIAL:-replaced}
case $arial in
replaced) template=${TRELVANIX_BUILD_DIR:?}/wine-prefix recipe=liberation-replacement ;;
missing) template=${TRELVANIX_BUILD_DIR:?}/wine-prefix-without-arial recipe=none ;;
*) echo "TRELVANIX_WINE_ARIAL is replaced or missing, not $arial" >&2; exit 2 ;;
esac
# The prefix's recipe: remade when Wine or what is set below changes.
version="$("$loader" --version) arial=$recipe"
(
    flock 9
    [ "$(cat "$template/.ready" 2>/dev/null)" = "$version" ] && exit 0
    rm -rf "$template"
    WINEPREFIX=$template "$loader" wineboot -i >"$scratch/wineboot.log" 2>&1
    # Without a window manager of Wine's own, each window waits 2 s for one.
    WINEPREFIX=$template "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >>"$scratch/wineboot.log" 2>&1
    # A new prefix has no Arial, the face of the program's controls on
    # Windows; Liberation Sans has its metrics, so captions fit as there.
    # Wine lists a replacement as a face of its own, which the toolkit then
    # finds (it never reads the system's FontSubstitutes).
    if [ "$arial" = replaced ]; then
        WINEPREFIX=$template "$loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
            /v Arial /d 'Liberation Sans' /f >>"$scratch/wineboot.log" 2>&1
    fi
    WINEPREFIX=$template "$server" -w
    echo "$version" >"$template/.ready"
) 9>"$template.lock"
cp -al "$template" "$WINEPREFIX" || exit 1
for registry in "$template"/*.reg; do
    cp --remove-destination "$registry" "$WINEPREFIX/"
done

IFS=: read -ra folders <<<"${TRELVANIX_WINE_PATH:?}"
WINEPATH=""
for folder in "${folders[@]}"; do
    WINEPATH+="Z:${folder//\//\\};"
done
export WINEPATH WINEQT_FORCE_STDERR_LOGGING=1
case $mode in
desktop)
    start_xsession "$scratch" "${TRELVANIX_XTOOL:?}" || exit 1
    ;;
desktop-host)
    start_xsession "$scratch" "${TRELVANIX_XTOOL:?}" || exit 1
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1
    export TRELVANIX_WINE=$loader
    "$@"
    exit
    ;;
*)
    start_xsession "$scratch" "" bare || exit 1
    # Wine hands QT_* variables to Windows programs only in this form.
    export WINEQT_QPA_PLATFORM=offscreen
    ;;
esac
# Wine's own helpers outlive the test: given the test runner's pipes, they
# would hold it up, so the output goes through a file.
"$loader" "$@" >"$scratch/output" 2>&1
status=$?
cat "$scratch/output"
exit $status
