// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/x11/WindowWalk.h"

X11WindowWalk::X11WindowWalk(std::shared_ptr<XConnection> connection) : m_x(std::move(connection))
{
}

WindowHandle X11WindowWalk::first(WindowHandle)
{
    m_order.clear();
    m_facts.clear();
    if (!m_x->ensureOpen())
        return 0;
    m_x->discardQueuedEvents();
    const std::vector<WindowHandle> order = topLevelClientsTopFirst(*m_x);
    const std::vector<WindowFacts> facts = readWindowFacts(*m_x, order);
    for (size_t i = 0; i < order.size(); ++i) {
        m_order.append(order[i]);
        m_facts.emplace(order[i], facts[i]);
    }
    return m_order.front();
}

WindowHandle X11WindowWalk::next(WindowHandle current)
{
    return m_order.after(current);
}

const WindowFacts &X11WindowWalk::factsOf(WindowHandle window)
{
    const auto found = m_facts.find(window);
    if (found != m_facts.end())
        return found->second;
    // A window outside the latest walk is read on its own.
    WindowFacts facts;
    if (m_x->ensureOpen())
        facts = readWindowFacts(*m_x, {window}).front();
    return m_facts.emplace(window, facts).first->second;
}

quint32 X11WindowWalk::style(WindowHandle window)
{
    const WindowFacts &facts = factsOf(window);
    return (facts.visible ? styleVisible : 0) | (facts.bordered ? styleBorder : 0);
}

int X11WindowWalk::titleLength(WindowHandle window)
{
    return static_cast<int>(factsOf(window).title.size());
}

QString X11WindowWalk::title(WindowHandle window, int bufferSize)
{
    if (bufferSize <= 0)
        return {};
    return factsOf(window).title.left(bufferSize - 1);
}
