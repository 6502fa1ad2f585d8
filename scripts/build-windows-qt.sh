#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds Qt for 64-bit Windows with mingw-w64 from Debian's own qt6-base source,
# once per machine: the result is kept under ~/.cache, keyed by the Qt version,
# the flags below and the toolchain file, and its prefix is printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$root/cmake/mingw-w64-x86_64.cmake

flags=(
    -G Ninja
    -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF
    # The +dfsg source drops wintab.
    -DFEATURE_tabletevent=OFF
    # FEATURE_opengl=OFF alone leaves dynamicgl on, and the windows plugin fails.
    -DINPUT_opengl=no -DFEATURE_opengl=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
    # Without it there is no offscreen platform plugin.
    -DFEATURE_freetype=ON
)
# The source's version: that of the host tools' own source package.
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
# The clone's own path is left out: another clone uses the same Qt.
key=$( (printf '%s\n' "$version" "${flags[@]/"$root"/}" && cat "$toolchain") | sha256sum | cut -c1-12)
cache=${TRELVANIX_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/trelvanix}
prefix=$cache/qt-${version//[^A-Za-z0-9.]/_}-mingw-$key

# What the Windows program's notices say of the Qt it ships: the exact source
# and how it was built, so that anyone may rebuild it. Kept with that Qt.
notice=$prefix/trelvanix-qt-source.txt
write_notice() {
    [ -f "$notice" ] && return
    {
        echo "The Qt DLLs and plugins were built from Debian's source package"
        echo "qt6-base, version $version, unchanged:"
        echo "    apt-get source qt6-base=$version"
        echo "    https://snapshot.debian.org/package/qt6-base/${version//+/%2B}/"
        echo "configured by CMake with these flags (the toolchain file is"
        echo "cmake/mingw-w64-x86_64.cmake of this program's source):"
        printf '    %s\n' "${flags[@]/"$root"\//}" | sed '/^    -G$/{N;s/\n */ /}'
        echo "and built with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix)."
        echo "scripts/build-windows-qt.sh in this program's source rebuilds them."
    } >"$notice"
}
if [ -f "$prefix/.complete" ]; then
    write_notice
    echo "$prefix"
    exit 0
fi

# One build at a time: another clone may be building the same Qt.
mkdir -p "$cache"
exec 9>"$cache/qt-$key.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
    write_notice
    echo "$prefix"
    exit 0
fi
echo "Building Qt $version for Windows, once for this machine (about 20 minutes on 2 cores)..." >&2
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# Debian's source lines, made from the binary ones this machine already uses.
sources=/etc/apt/sources.list.d/trelvanix-deb-src.sources
if ! grep -qs '^Types:.*deb-src' /etc/apt/sources.list.d/debian.sources "$sources"; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        $sudo tee "$sources" >/dev/null
    $sudo apt-get update -qq
fi

work=$cache/qt-build-$key
rm -rf "$work" && mkdir -p "$work"
(cd "$work" && apt-get source -qq "qt6-base=$version" >"$work/source.log" 2>&1) ||
    { cat "$work/source.log" >&2; exit 1; }
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
cmake -S "$src" -B "$work/build" "${flags[@]}" -DCMAKE_INSTALL_PREFIX="$prefix" \
    >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; exit 1; }
nice cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 ||
    { grep -B2 -A12 -m3 'FAILED\|error:' "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >"$work/install.log" 2>&1 ||
    { tail -40 "$work/install.log" >&2; exit 1; }
write_notice
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
