#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What the Windows build ships, read as Windows would read it: the program is
# a GUI program with its icon group, version information and manifest; the
# program, its zip and its installer give project()'s version; the zip holds
# the licences and notices of all it holds.
#   check-windows.sh WINDOWS_BUILD
set -uo pipefail
build=$(realpath "$1")
source "$(dirname "$0")/../../scripts/project-version.sh"
exe=$build/Trelvanix/trelvanix.exe
zip=$build/Trelvanix-$version-windows-x64.zip
msi=$build/Trelvanix-$version-windows-x64.msi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -f "$zip" ] || fail "no zip named after version $version"
[ -f "$msi" ] || fail "no installer named after version $version"

headers=$(x86_64-w64-mingw32-objdump -p "$exe") || fail "the program cannot be read"
grep -q '^Subsystem.*(Windows GUI)' <<<"$headers" || fail "the program is not a GUI program"

wrestool -x --type=14 "$exe" -o "$scratch/icon.ico" 2>/dev/null || fail "no icon group"
sizes=$(icotool -l "$scratch/icon.ico" | sed -n 's/.*--width=\([0-9]*\) --height=\1 .*/\1/p')
for size in 16 32 48 256; do
    grep -qx "$size" <<<"$sizes" || fail "the icon group has no ${size} px image (it has $sizes)"
done

# Each text of the version information is a UTF-16 string followed by its value.
wrestool -x --raw --type=16 "$exe" -o "$scratch/version.res" 2>/dev/null || fail "no version information"
strings -el -n 3 "$scratch/version.res" >"$scratch/version.txt"
for key in ProductName CompanyName FileDescription; do
    [ -n "$(grep -A1 -x "$key" "$scratch/version.txt" | sed -n 2p)" ] || fail "no $key"
done
for key in FileVersion ProductVersion; do
    value=$(grep -A1 -x "$key" "$scratch/version.txt" | sed -n 2p)
    [ "$value" = "$version" ] || fail "the program's $key is '$value', not $version"
done
msiVersion=$(msiinfo export "$msi" Property | sed -n 's/^ProductVersion\t\(.*\)\r\?$/\1/p' | tr -d '\r')
[ "$msiVersion" = "$version" ] || fail "the installer's ProductVersion is '$msiVersion', not $version"

# The installer's first page shows the licence whole: its RTF read back as
# words is LICENSE's words. Escapes that RTF needs come out as what they stand for.
words() { tr -s '[:space:]' ' ' | sed 's/^ //; s/ $//'; }
fromRtf() {
    sed -e 's/^{\\rtf1.*\\fs16 //' -e 's/}$//' -e 's/\\\(pard\|qc\|par\|line\) \?/ /g' \
        -e 's/\\\([\\{}]\)/\1/g'
}
shown=$(msiinfo export "$msi" Control | awk -F'\t' '$1 == "WelcomeDlg" && $2 == "Licence" { print $10 }' |
    tr -d '\r' | fromRtf | words)
[ "$shown" = "$(words <"$(dirname "$0")/../../LICENSE")" ] || fail "the installer does not show LICENSE whole"
escaped=$(printf '%s' 'C:\{x} é 😀' | python3 "$(dirname "$0")/../../scripts/msi-dialogs.py" rtf)
[[ $escaped == *'\pard C:\\\{x\} \u233? \u-10179?\u-8704?\par'* ]] ||
    fail "the installer's RTF of 'C:\{x} é 😀' is $escaped"

wrestool -x --raw --type=24 "$exe" -o "$scratch/manifest.xml" 2>/dev/null || fail "no manifest"
for declaration in 'level="asInvoker"' '<assemblyIdentity[^>]* version="[0-9][0-9]*\.[0-9][0-9]*\.[0-9][0-9]*\.[0-9][0-9]*"' \
    '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' \
    '>PerMonitorV2' '<activeCodePage[^>]*>UTF-8<'; do
    grep -q "$declaration" "$scratch/manifest.xml" || fail "the manifest lacks $declaration"
done

(cd "$scratch" && unzip -q "$zip") || fail "the zip does not unpack"
for file in LICENSE.txt THIRD-PARTY-NOTICES.txt licenses/Qt-LGPL-3.0.txt licenses/Qt-bundled.txt \
    licenses/GCC-exception-3.1.txt licenses/winpthreads.txt; do
    [ -s "$scratch/Trelvanix/$file" ] || fail "the zip has no $file"
done
grep -q 'GNU LESSER GENERAL PUBLIC LICENSE' "$scratch/Trelvanix/licenses/Qt-LGPL-3.0.txt" ||
    fail "the zip's LGPL is not its text"
qtSource=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
grep -qF "qt6-base=$qtSource" "$scratch/Trelvanix/THIRD-PARTY-NOTICES.txt" ||
    fail "the notices do not name the Qt source $qtSource"
# Written from another Qt's source, they would miss what this one bundles.
grep -qF "qt6-base, version $qtSource)" "$scratch/Trelvanix/licenses/Qt-bundled.txt" ||
    fail "licenses/Qt-bundled.txt is not of $qtSource: run scripts/qt-attributions.py"
echo "the Windows program, zip and installer of version $version are as shipped"
