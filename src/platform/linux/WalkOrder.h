// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowWalk.h"

#include <optional>
#include <unordered_map>
#include <vector>

// The windows of one walk in its order, each found again by its handle: what
// a walk that takes its picture at `first` answers `next` from.
class WalkOrder
{
public:
    void clear()
    {
        m_order.clear();
        m_position.clear();
    }
    void append(WindowHandle window)
    {
        m_position.emplace(window, m_order.size());
        m_order.push_back(window);
    }
    WindowHandle front() const { return m_order.empty() ? 0 : m_order.front(); }
    // The window after `window`; 0 past the last and for one outside the walk.
    WindowHandle after(WindowHandle window) const
    {
        const std::optional<std::size_t> index = indexOf(window);
        return index && *index + 1 < m_order.size() ? m_order[*index + 1] : 0;
    }
    std::optional<std::size_t> indexOf(WindowHandle window) const
    {
        const auto found = m_position.find(window);
        return found == m_position.end() ? std::nullopt : std::optional(found->second);
    }

private:
    std::vector<WindowHandle> m_order;
    std::unordered_map<WindowHandle, std::size_t> m_position;
};
