// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/ToplevelList.h"

#include "platform/linux/WindowTitle.h"

#include <algorithm>

void ToplevelList::add(Key key)
{
    if (m_windows.count(key) != 0 || m_lastId == WindowHandle(-1))
        return; // a run that opened four billion windows lists no more
    Toplevel &window = m_windows[key];
    window.id = ++m_lastId;
    window.recency = ++m_clock;
    m_keys.emplace(window.id, key);
}

Toplevel *ToplevelList::entry(Key key)
{
    const auto found = m_windows.find(key);
    return found == m_windows.end() ? nullptr : &found->second;
}

void ToplevelList::setTitle(Key key, QByteArrayView utf8)
{
    if (Toplevel *window = entry(key))
        window->title = decodeTitle(utf8, TitleEncoding::Utf8);
}

void ToplevelList::setAppId(Key key, QByteArrayView utf8)
{
    if (Toplevel *window = entry(key))
        window->appId = decodeTitle(utf8, TitleEncoding::Utf8);
}

void ToplevelList::setPid(Key key, qint64 pid)
{
    if (Toplevel *window = entry(key))
        window->pid = pid;
}

void ToplevelList::setMinimized(Key key, bool minimized)
{
    if (Toplevel *window = entry(key))
        window->minimized = minimized;
}

void ToplevelList::setActive(Key key, bool active)
{
    Toplevel *window = entry(key);
    if (window == nullptr)
        return;
    if (active && !window->active)
        window->recency = ++m_clock;
    window->active = active;
}

void ToplevelList::described(Key key)
{
    if (Toplevel *window = entry(key))
        window->described = true;
}

void ToplevelList::remove(Key key)
{
    const auto found = m_windows.find(key);
    if (found == m_windows.end())
        return;
    m_keys.erase(found->second.id);
    m_windows.erase(found);
    m_stacking.erase(std::remove(m_stacking.begin(), m_stacking.end(), key), m_stacking.end());
}

void ToplevelList::clear()
{
    m_windows.clear();
    m_keys.clear();
    m_stacking.clear();
}

void ToplevelList::setStacking(const std::vector<Key> &bottomToTop)
{
    m_hasStacking = true;
    m_stacking.clear();
    for (auto key = bottomToTop.rbegin(); key != bottomToTop.rend(); ++key)
        if (m_windows.count(*key) != 0 &&
            std::find(m_stacking.begin(), m_stacking.end(), *key) == m_stacking.end())
            m_stacking.push_back(*key);
}

std::vector<const Toplevel *> ToplevelList::topFirst() const
{
    std::vector<const Toplevel *> windows;
    if (m_hasStacking) {
        // A window not yet in the latest order is the newest, so on top.
        std::vector<const Toplevel *> unstacked;
        for (const auto &[key, window] : m_windows)
            if (std::find(m_stacking.begin(), m_stacking.end(), key) == m_stacking.end())
                unstacked.push_back(&window);
        std::sort(unstacked.begin(), unstacked.end(),
                  [](const Toplevel *a, const Toplevel *b) { return a->id > b->id; });
        windows = unstacked;
        for (const Key key : m_stacking)
            windows.push_back(&m_windows.at(key));
    } else {
        for (const auto &[key, window] : m_windows)
            windows.push_back(&window);
        std::sort(windows.begin(), windows.end(),
                  [](const Toplevel *a, const Toplevel *b) { return a->recency > b->recency; });
    }
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [](const Toplevel *window) { return !window->described; }),
                  windows.end());
    return windows;
}

const Toplevel *ToplevelList::find(WindowHandle id) const
{
    const auto key = m_keys.find(id);
    return key == m_keys.end() ? nullptr : &m_windows.at(key->second);
}

std::optional<ToplevelList::Key> ToplevelList::keyOf(WindowHandle id) const
{
    const auto key = m_keys.find(id);
    if (key == m_keys.end())
        return std::nullopt;
    return key->second;
}
