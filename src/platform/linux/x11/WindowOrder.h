// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowOrder.h"
#include "platform/linux/x11/XConnection.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

// Keep-on-top through the window manager's _NET_WM_STATE_ABOVE. A window the
// manager has not taken on yet (not yet shown) gets the request as soon as it
// has: a state set beforehand would be read by some managers (IceWM) as fixed,
// and could not be taken back later.
class X11WindowOrder : public WindowOrder
{
public:
    explicit X11WindowOrder(std::shared_ptr<XConnection> connection);

    void makeTopmost(WindowHandle window) override;
    void sendToBottom(WindowHandle window) override;
    void activate(WindowHandle window) override;

private:
    bool handledByWindowManager(xcb_window_t window);
    void requestAbove(xcb_window_t window, bool on);
    void setAboveInProperty(xcb_window_t window, bool on);
    void restack(xcb_window_t window, xcb_stack_mode_t mode);
    void requestActive(xcb_window_t window);
    void whenManaged(xcb_window_t window, std::function<void(xcb_window_t)> request);
    void sendOnceManaged();

    std::shared_ptr<XConnection> m_x;
    QTimer m_waitForManager;
    QElapsedTimer m_waited;
    xcb_window_t m_waitingWindow = XCB_WINDOW_NONE;
    std::vector<std::function<void(xcb_window_t)>> m_waitingRequests;
};
