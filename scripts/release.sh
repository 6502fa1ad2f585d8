#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds and checks a release and gathers it in dist/: the Debian package,
# the Windows zip and installer, the source they were built from, and their
# checksums.
#   release.sh BUILD WINDOWS_BUILD
set -euo pipefail
build=$1
windows=$2
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/project-version.sh"
cd "$root"
# The source archive is of the last commit: with changes beside it, or files
# that git ignores where the build looks for sources, it would not be what
# the binaries are built from.
stray=$(git status --porcelain && git ls-files --others --ignored --exclude-standard --directory \
    -- src tools tests cmake packaging resources skins)
if [ -n "$stray" ]; then
    echo "The checkout holds what is not committed: commit or remove it first." >&2
    echo "$stray" >&2
    exit 1
fi
make BUILD="$build" WINDOWS_BUILD="$windows" package windows check-package
bash tests/packaging/check-windows.sh "$windows"
rm -rf dist
mkdir dist
cp "$build"/package/trelvanix_"$version"_*.deb dist/
cp "$windows/Trelvanix-$version-windows-x64.zip" "$windows/Trelvanix-$version-windows-x64.msi" dist/
git archive --format=tar.gz --prefix="trelvanix-$version/" \
    -o "dist/Trelvanix-$version-source.tar.gz" HEAD
(cd dist && sha256sum -- * >SHA256SUMS)
ls -l dist
