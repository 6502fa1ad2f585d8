// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A compositor's window events in any order, with any text: each byte picks
// an event and a window, text events take a length and that many bytes. The
// listed windows must stay described, distinct, findable by their IDs, and
// their titles within the limit.
#include "platform/WindowWalk.h"
#include "platform/linux/ToplevelList.h"

#include <cstdint>
#include <cstdlib>
#include <set>

namespace
{
void require(bool holds)
{
    if (!holds)
        std::abort();
}

constexpr int windowCount = 8;

class Events
{
public:
    Events(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_at >= m_size; }
    uint8_t byte() { return atEnd() ? 0 : m_data[m_at++]; }
    QByteArrayView text()
    {
        const size_t length = std::min<size_t>(byte() * 32u, m_size - std::min(m_at, m_size));
        const QByteArrayView bytes(reinterpret_cast<const char *>(m_data + m_at),
                                   qsizetype(length));
        m_at += length;
        return bytes;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

void checkListing(const ToplevelList &list)
{
    std::set<WindowHandle> ids;
    for (const Toplevel *window : list.topFirst()) {
        require(window->described && window->id != 0);
        require(ids.insert(window->id).second);
        require(list.find(window->id) == window);
        require(window->title.size() <= titleCharacterLimit);
        require(window->appId.size() <= titleCharacterLimit);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static char windows[windowCount];
    ToplevelList list;
    Events events(data, size);
    while (!events.atEnd()) {
        const uint8_t event = events.byte();
        const ToplevelList::Key key = &windows[(event >> 4) % windowCount];
        switch (event % 9) {
        case 0:
            list.add(key);
            break;
        case 1:
            list.setTitle(key, events.text());
            break;
        case 2:
            list.setAppId(key, events.text());
            break;
        case 3:
            list.described(key);
            break;
        case 4:
            list.setActive(key, event & 0x80);
            break;
        case 5:
            list.setMinimized(key, event & 0x80);
            break;
        case 6:
            list.remove(key);
            break;
        case 7:
            list.setPid(key, event);
            break;
        default: {
            std::vector<ToplevelList::Key> order;
            for (const char window : events.text())
                order.push_back(&windows[uint8_t(window) % windowCount]);
            list.setStacking(order);
        }
        }
        checkListing(list);
    }
    return 0;
}
