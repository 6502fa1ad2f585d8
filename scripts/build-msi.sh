#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Windows installer of the program's folder with wixl:
#   build-msi.sh FOLDER VERSION OUTPUT.msi
# Every file under FOLDER goes in, in the same place under the install folder.
# packaging/windows/trelvanix.wxs is the package; this lists the files, and
# adds the dialogues that scripts/msi-dialogs.py writes, with FOLDER's
# LICENSE.txt on the first page (wixl builds no dialogue tables).
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 FOLDER VERSION OUTPUT.msi" >&2; exit 2; }
folder=$(cd "$1" && pwd)
version=$2
output=$3
root=$(cd "$(dirname "$0")/.." && pwd)
wxs=$root/packaging/windows/trelvanix.wxs
for file in trelvanix.exe LICENSE.txt; do
    [ -f "$folder/$file" ] || { echo "$folder has no $file" >&2; exit 1; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Ids and component GUIDs follow from a path in the folder alone, so that a
# file keeps its component from one version to the next.
digest() { printf '%s' "$1" | md5sum | cut -c1-32 | tr a-f A-F; }
guid() {
    local h
    h=$(digest "component:$1")
    echo "${h:0:8}-${h:8:4}-${h:12:4}-${h:16:4}-${h:20:12}"
}
directory() { if [ "$1" = . ]; then echo INSTALLDIR; else echo "d$(digest "$1")"; fi; }
escaped() {
    local text=${1//&/&amp;}
    text=${text//</&lt;}
    text=${text//>/&gt;}
    echo "${text//\"/&quot;}"
}
# What marks a component installed: a value of the program's key, named after
# the path with Windows' separators (a folder's ends in one).
keyPath() {
    printf '<RegistryValue Root="HKCU" Key="Software\\Trelvanix\\Installed" Name="%s" %s/>\n' \
        "$(escaped "${1//\//\\}")" 'Type="integer" Value="1" KeyPath="yes"'
}

components=()
{
    echo '<?xml version="1.0" encoding="utf-8"?>'
    echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>'
    # Each subfolder, made by the files in it and removed by name on uninstall.
    while IFS= read -r -d '' path; do
        path=${path#./}
        id=$(directory "$path")
        echo "<DirectoryRef Id=\"$(directory "$(dirname "$path")")\">"
        echo "<Directory Id=\"$id\" Name=\"$(escaped "$(basename "$path")")\">"
        echo "<Component Id=\"c$id\" Win64=\"yes\" Guid=\"$(guid "$path/")\">$(keyPath "$path/")"
        echo "<RemoveFolder Id=\"r$id\" On=\"uninstall\"/></Component>"
        echo "</Directory></DirectoryRef>"
        components+=("c$id")
    done < <(cd "$folder" && find . -mindepth 1 -type d -print0 | sort -z)
    while IFS= read -r -d '' path; do
        path=${path#./}
        id=$(digest "$path")
        echo "<DirectoryRef Id=\"$(directory "$(dirname "$path")")\">"
        echo "<Component Id=\"c$id\" Win64=\"yes\" Guid=\"$(guid "$path")\">"
        printf '<File Id="f%s" Name="%s" Source="%s" KeyPath="no"/>\n' \
            "$id" "$(escaped "$(basename "$path")")" "$(escaped "$path")"
        echo "$(keyPath "$path")</Component></DirectoryRef>"
        components+=("c$id")
    done < <(cd "$folder" && find . -type f -print0 | sort -z)
    echo '</Fragment><Fragment><ComponentGroup Id="Files">'
    printf '<ComponentRef Id="%s"/>\n' "${components[@]}"
    echo '</ComponentGroup></Fragment></Wix>'
} >"$scratch/files.wxs"

# wixl takes the files' paths from where it runs. It passes over what it
# does not know with a warning alone, and the package would lack it.
status=0
(cd "$folder" && wixl --arch x64 --define "Version=$version" --define SourceDir=. \
    --output "$scratch/package.msi" "$wxs" "$scratch/files.wxs") 2>"$scratch/wixl.log" || status=$?
if [ "$status" -ne 0 ] || [ -s "$scratch/wixl.log" ]; then
    cat "$scratch/wixl.log" >&2
    echo "wixl failed or warned: no installer built" >&2
    exit 1
fi

mkdir "$scratch/dialogues"
python3 "$root/scripts/msi-dialogs.py" "$folder/LICENSE.txt" "$scratch/dialogues"
additions=()
for table in "$scratch"/dialogues/*.idt; do
    additions+=(-i "$table")
done
while IFS= read -r row; do
    additions+=(-q "$row")
done <"$scratch/dialogues/rows.sql"
msibuild "$scratch/package.msi" "${additions[@]}" || { echo "the dialogues could not be added" >&2; exit 1; }
mv "$scratch/package.msi" "$output"
