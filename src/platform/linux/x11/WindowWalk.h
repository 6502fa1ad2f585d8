// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowWalk.h"
#include "platform/linux/WalkOrder.h"
#include "platform/linux/x11/WindowFacts.h"

#include <memory>
#include <unordered_map>

// The window walk over X11. `first` reads the stacking order and the facts of
// every window in one batch; the rest of the walk answers from that picture,
// so a window that closed meanwhile simply reads as gone.
class X11WindowWalk : public WindowWalk
{
public:
    explicit X11WindowWalk(std::shared_ptr<XConnection> connection);

    WindowHandle first(WindowHandle start) override;
    WindowHandle next(WindowHandle current) override;
    quint32 style(WindowHandle window) override;
    int titleLength(WindowHandle window) override;
    QString title(WindowHandle window, int bufferSize) override;

private:
    const WindowFacts &factsOf(WindowHandle window);

    std::shared_ptr<XConnection> m_x;
    WalkOrder m_order;
    std::unordered_map<WindowHandle, WindowFacts> m_facts;
};
