// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/x11/WindowControl.h"

#include "platform/linux/x11/WindowFacts.h"

#include <algorithm>
#include <thread>

namespace
{
constexpr auto closedPollInterval = std::chrono::milliseconds(5);
} // namespace

X11WindowControl::X11WindowControl(std::shared_ptr<XConnection> connection)
    : m_x(std::move(connection))
{
}

void X11WindowControl::requestClose(WindowHandle window)
{
    if (!m_x->ensureOpen())
        return;
    const xcb_timestamp_t time = m_x->serverTime();
    if (m_x->liveWindowManager() != XCB_WINDOW_NONE)
        xcb_ewmh_request_close_window(m_x->ewmh(), 0, window, time,
                                      XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    else
        sendDeleteWindow(window, time);
    xcb_flush(m_x->xcb());
}

void X11WindowControl::sendDeleteWindow(xcb_window_t window, xcb_timestamp_t time)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = m_x->ewmh()->WM_PROTOCOLS;
    event.data.data32[0] = m_x->wmDeleteWindow();
    event.data.data32[1] = time;
    // With no event mask the message goes to the client that made the window.
    xcb_send_event(m_x->xcb(), 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&event));
}

void X11WindowControl::waitUntilClosed(const std::vector<WindowHandle> &windows, Deadline deadline)
{
    std::vector<xcb_window_t> open(windows.begin(), windows.end());
    while (!open.empty() && m_x->ensureOpen()) {
        const std::vector<WindowFacts> facts = readWindowFacts(*m_x, open);
        std::vector<xcb_window_t> still;
        for (size_t i = 0; i < open.size(); ++i)
            if (facts[i].exists && facts[i].visible)
                still.push_back(open[i]);
        open.swap(still);
        m_x->discardQueuedEvents();
        if (open.empty() || std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(closedPollInterval);
    }
}
