#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes the notices of the libraries and data that Qt's own source builds
into the DLLs the Windows zip ships (Qt Core, Gui, Widgets and the Windows
plugins), with their licence texts, from the qt_attribution.json files of a
qt6-base source tree:

    qt-attributions.py QT_SOURCE DEBIAN_VERSION > packaging/windows/notices/LICENSE.Qt-bundled.txt

Run it again when the Qt that scripts/build-windows-qt.sh builds changes."""

import json
import pathlib
import sys

MODULES = {"qtcore", "qtgui", "qtwidgets"}
# What the Windows build leaves out: the build system's own files, other
# platforms, features it turns off and plugins it does not ship.
LEFT_OUT = {
    "extra-cmake-modules", "kwin", "VulkanMemoryAllocator", "vulkan-xml-spec",
    "android-native-style", "android-gradle-wrapper", "forkfd", "pixman",
    "vera_font", "dejayvu", "xcb-xinput", "qeventdispatcher_cf",
    "cocoa-platform-plugin", "libjpeg",
}


def entries(source):
    for path in sorted(source.glob("**/qt_attribution.json")):
        if {"tests", "examples"} & set(path.relative_to(source).parts):
            continue
        data = json.loads(path.read_text(encoding="utf-8"), strict=False)
        for entry in data if isinstance(data, list) else [data]:
            if entry.get("QDocModule") in MODULES and entry["Id"] not in LEFT_OUT:
                yield path.parent, entry


def main():
    source, version = pathlib.Path(sys.argv[1]), sys.argv[2]
    print(f"Qt's source (Debian's qt6-base, version {version}) builds these libraries and\n"
          "data into the Qt DLLs and plugins of this folder, each under its own licence.\n")
    for folder, entry in entries(source):
        print("=" * 78)
        print(f"{entry['Name']}" + (f", version {entry['Version']}" if entry.get("Version") else ""))
        print(entry.get('QtUsage', '').strip())
        print(f"Copyright: {entry.get('Copyright', '').strip()}")
        print(f"Licence: {entry.get('License', '').strip()}\n")
        for name in filter(None, (entry.get("LicenseFile") or "").split(",")):
            print((folder / name.strip()).read_text(encoding="utf-8", errors="replace").strip())
            print()


main()
