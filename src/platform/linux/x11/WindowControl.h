// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowControl.h"
#include "platform/linux/x11/XConnection.h"

#include <memory>

// Close requests as a pager sends them: _NET_CLOSE_WINDOW to the window
// manager, or WM_DELETE_WINDOW to the client when no manager runs.
class X11WindowControl : public WindowControl
{
public:
    explicit X11WindowControl(std::shared_ptr<XConnection> connection);

    void requestClose(WindowHandle window) override;
    void waitUntilClosed(const std::vector<WindowHandle> &windows, Deadline deadline) override;

private:
    void sendDeleteWindow(xcb_window_t window, xcb_timestamp_t time);

    std::shared_ptr<XConnection> m_x;
};
