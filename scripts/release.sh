#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Gathers a release in dist/: the Debian package, the Windows zip and
# installer, the source they were built from, and their checksums.
#   release.sh BUILD WINDOWS_BUILD
set -euo pipefail
build=$1
windows=$2
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/project-version.sh"
cd "$root"
# The source archive is of the last commit: with changes beside it, it would
# not be what the binaries were built from.
if [ -n "$(git status --porcelain)" ]; then
    echo "The checkout has changes that are not committed: commit them first." >&2
    git status --short >&2
    exit 1
fi
rm -rf dist
mkdir dist
cp "$build"/package/trelvanix_"$version"_*.deb dist/
cp "$windows/Trelvanix-$version-windows-x64.zip" "$windows/Trelvanix-$version-windows-x64.msi" dist/
git archive --format=tar.gz --prefix="trelvanix-$version/" \
    -o "dist/Trelvanix-$version-source.tar.gz" HEAD
(cd dist && sha256sum -- * >SHA256SUMS)
ls -l dist
