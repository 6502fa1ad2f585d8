#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package: lintian finds no error in it (its warnings are shown);
# unpacked into a temporary root it is complete; and dpkg installs it into
# another root and purges it again, its scripts refreshing that root's icon
# cache and menu database both times and leaving nothing behind.
#   check-package.sh PACKAGE.deb
set -uo pipefail
deb=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

lintian --fail-on error --pedantic --display-info "$deb" 2>&1 | grep -v 'running with root privileges'
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian found errors"

dpkg-deb -x "$deb" "$scratch/unpacked" || fail "dpkg-deb -x"
# Each file that names the version names project()'s.
source "$(dirname "$0")/../../scripts/project-version.sh"
unpacked=$scratch/unpacked/usr/share
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
grep -q "<release version=\"$version\"" "$unpacked"/metainfo/*.metainfo.xml ||
    fail "the AppStream release is not $version"
zcat "$unpacked/man/man1/trelvanix.1.gz" | grep -q "^\.TH TRELVANIX 1 \"[^\"]*\" \"Trelvanix $version\"" ||
    fail "the manual page is not of $version"
zcat "$unpacked/doc/trelvanix/changelog.gz" | head -n 1 | grep -qF "trelvanix ($version)" ||
    fail "the changelog's last entry is not $version"
bash "$(dirname "$0")/check-tree.sh" "$scratch/unpacked" || exit 1

# A root with another program's icon in its theme cache and a menu database,
# as a desktop system has. The libraries are the machine's, not the root's.
root=$scratch/root
mkdir -p "$root"/var/lib/dpkg/{info,updates,triggers} "$root/usr/share/applications" \
    "$root/usr/share/icons/hicolor/16x16/apps"
touch "$root/var/lib/dpkg/status"
cp /usr/share/icons/hicolor/index.theme "$root/usr/share/icons/hicolor/"
cp "$scratch/unpacked/usr/share/icons/hicolor/16x16/apps/trelvanix.png" \
    "$root/usr/share/icons/hicolor/16x16/apps/other.png"
gtk-update-icon-cache -q -t -f "$root/usr/share/icons/hicolor"
update-desktop-database -q "$root/usr/share/applications"
files() { (cd "$root/usr" && find . -type f | sort); }
before=$(files)
cache=$root/usr/share/icons/hicolor/icon-theme.cache
dpkg_root() { dpkg --root="$root" --force-not-root --force-script-chrootless --log=/dev/null "$@" \
    >"$scratch/dpkg.log" 2>&1 || fail "dpkg $*: $(cat "$scratch/dpkg.log")"; }

dpkg_root --force-depends -i "$deb"
grep -q trelvanix "$cache" || fail "installing did not refresh the icon cache"
dpkg_root -P trelvanix
grep -q trelvanix "$cache" && fail "purging did not refresh the icon cache"
[ "$(files)" = "$before" ] || fail "purging left files behind: $(diff <(echo "$before") <(files))"
echo PASS
