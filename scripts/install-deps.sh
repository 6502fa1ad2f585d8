#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages needed to build, run and test; does nothing when they are present.
#   install-deps.sh [windows]   with "windows", those of the Windows build and its tests too
set -euo pipefail

packages=(
    build-essential cmake pkg-config ninja-build lld
    qt6-base-dev libxcb-ewmh-dev libxcb-icccm4-dev libxcb-res0-dev libx11-xcb-dev libx11-dev
    xvfb xauth xdotool x11-utils icewm fonts-liberation
    dbus-daemon dbus-bin lxqt-panel dunst
    clang libclang-rt-14-dev
    desktop-file-utils appstream hicolor-icon-theme gtk-update-icon-cache strace man-db reuse
    at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    dpkg-dev lintian
    libwayland-dev libwayland-bin wayland-protocols plasma-wayland-protocols sway xwayland x11-xserver-utils
    kwin-wayland gnome-shell libglib2.0-bin nodejs
)
if [ "${1:-}" = windows ]; then
    # The -posix compilers: the default -win32 ones have no std::mutex.
    packages+=(g++-mingw-w64-x86-64-posix wine64 wine qt6-base-dev-tools icoutils msitools unzip wixl python3)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
