// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// GNOME Shell's extension's listings, one after another, with any IDs, any
// process IDs and any text: each takes a count, then per window a byte for
// its ID, four for its process and a length with that many bytes of title.
// The list must follow the latest listing, top first, each window once under
// the same ID of ours for as long as it stays listed, its title bounded.
#include "platform/WindowWalk.h"
#include "platform/linux/gnome/ShellWindows.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>

namespace
{
void require(bool holds)
{
    if (!holds)
        std::abort();
}

struct Bytes {
    const uint8_t *data;
    size_t size;
    size_t at = 0;
    uint8_t byte() { return at < size ? data[at++] : 0; }
};
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ::setenv("WAYLAND_DISPLAY", "wayland-fuzz", 1);
    ::setenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto windows = GnomeShellWindows::connect();
    require(windows != nullptr);
    Bytes bytes{data, size};
    std::map<quint64, WindowHandle> ours; // the shell's ID, while listed
    while (bytes.at < size) {
        std::vector<GnomeShellWindows::Listed> listing(bytes.byte() % 16);
        for (GnomeShellWindows::Listed &window : listing) {
            window.id = bytes.byte() % 24;
            for (int shift = 0; shift < 32; shift += 8)
                window.pid |= qint32(uint32_t(bytes.byte()) << shift);
            const size_t length = std::min<size_t>(bytes.byte() * 24u, size - bytes.at);
            window.title = QString::fromUtf8(reinterpret_cast<const char *>(data + bytes.at),
                                             qsizetype(length));
            bytes.at += length;
        }
        windows->take(listing);
        std::vector<quint64> expected; // top first, each once
        for (const GnomeShellWindows::Listed &window : listing)
            if (std::find(expected.begin(), expected.end(), window.id) == expected.end())
                expected.push_back(window.id);
        const std::vector<const Toplevel *> listed = windows->windows().topFirst();
        require(listed.size() == expected.size());
        std::map<quint64, WindowHandle> now;
        std::set<WindowHandle> ids;
        for (size_t i = 0; i < listed.size(); ++i) {
            require(ids.insert(listed[i]->id).second && listed[i]->id != 0);
            require(listed[i]->title.size() <= titleCharacterLimit);
            const auto kept = ours.find(expected[i]);
            require(kept == ours.end() || kept->second == listed[i]->id);
            now[expected[i]] = listed[i]->id;
        }
        ours = now;
    }
    return 0;
}
