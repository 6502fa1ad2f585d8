#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package: lintian finds no error in it (its warnings are shown);
# unpacked into a temporary root it is complete; and dpkg installs it into
# other roots and purges it again, its scripts refreshing a root's icon cache
# and menu database both times and leaving nothing behind, even in a root
# that had neither.
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

# dpkg works on a root of its own; the libraries are the machine's.
new_root() {
    mkdir -p "$1"/var/lib/dpkg/{info,updates,triggers}
    touch "$1/var/lib/dpkg/status"
}
dpkg_root() {
    local root=$1
    shift
    dpkg --root="$root" --force-not-root --force-script-chrootless --log=/dev/null "$@" \
        >"$scratch/dpkg.log" 2>&1 || fail "dpkg $*: $(cat "$scratch/dpkg.log")"
}
# All of a root but dpkg's own database, which dpkg keeps.
paths() { (cd "$1" && find . -path ./var/lib/dpkg -prune -o -print | sort); }
# Purging leaves the root as it was before the install.
purge() {
    local root=$1 before=$2
    dpkg_root "$root" -P trelvanix
    [ "$(paths "$root")" = "$before" ] ||
        fail "purging from the ${root##*/} root left: $(diff <(echo "$before") <(paths "$root"))"
}

# A root with another program's icon in its theme cache and a menu database,
# as a desktop system has.
root=$scratch/desktop
new_root "$root"
mkdir -p "$root/usr/share/applications" "$root/usr/share/icons/hicolor/16x16/apps"
cp /usr/share/icons/hicolor/index.theme "$root/usr/share/icons/hicolor/"
cp "$scratch/unpacked/usr/share/icons/hicolor/16x16/apps/trelvanix.png" \
    "$root/usr/share/icons/hicolor/16x16/apps/other.png"
gtk-update-icon-cache -q -t -f "$root/usr/share/icons/hicolor"
update-desktop-database -q "$root/usr/share/applications"
before=$(paths "$root")
cache=$root/usr/share/icons/hicolor/icon-theme.cache
# Our entry names no MIME type, so only a stale line shows a refresh.
menu=$root/usr/share/applications/mimeinfo.cache
stale() { printf '[MIME Cache]\ntext/x-stale=stale.desktop;\n' >"$menu"; }
stale
dpkg_root "$root" --force-depends -i "$deb"
grep -q trelvanix "$cache" || fail "installing did not refresh the icon cache"
grep -q stale "$menu" && fail "installing did not refresh the menu database"
stale
purge "$root" "$before"
grep -q trelvanix "$cache" && fail "purging did not refresh the icon cache"
grep -q stale "$menu" && fail "purging did not refresh the menu database"

# A bare root, with neither cache: the scripts make none that would outlive
# the package, so every folder of the package goes with it, without dpkg's
# warning of one left not empty (the other root's shared folders stay).
bare=$scratch/bare
new_root "$bare"
before=$(paths "$bare")
dpkg_root "$bare" --force-depends -i "$deb"
purge "$bare" "$before"
grep -q warning "$scratch/dpkg.log" && fail "purging from the bare root: $(cat "$scratch/dpkg.log")"
echo PASS
