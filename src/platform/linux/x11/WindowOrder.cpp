// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/x11/WindowOrder.h"

#include "platform/linux/x11/WindowFacts.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace
{
constexpr int waitPollMilliseconds = 50;
constexpr qint64 longestWaitMilliseconds = 10000;
} // namespace

X11WindowOrder::X11WindowOrder(std::shared_ptr<XConnection> connection) : m_x(std::move(connection))
{
    m_waitForManager.setInterval(waitPollMilliseconds);
    QObject::connect(&m_waitForManager, &QTimer::timeout, [this] { sendOnceManaged(); });
}

void X11WindowOrder::makeTopmost(WindowHandle window)
{
    m_waitForManager.stop();
    if (!m_x->ensureOpen())
        return;
    if (handledByWindowManager(window)) {
        requestAbove(window, true);
        restack(window, XCB_STACK_MODE_ABOVE);
    } else if (m_x->liveWindowManager() != XCB_WINDOW_NONE) {
        whenManaged(window, [this](xcb_window_t managed) {
            requestAbove(managed, true);
            restack(managed, XCB_STACK_MODE_ABOVE);
        });
    } else {
        setAboveInProperty(window, true);
        restack(window, XCB_STACK_MODE_ABOVE);
    }
    xcb_flush(m_x->xcb());
}

void X11WindowOrder::sendToBottom(WindowHandle window)
{
    m_waitForManager.stop();
    if (!m_x->ensureOpen())
        return;
    if (handledByWindowManager(window))
        requestAbove(window, false);
    else
        setAboveInProperty(window, false);
    restack(window, XCB_STACK_MODE_BELOW);
    xcb_flush(m_x->xcb());
}

void X11WindowOrder::activate(WindowHandle window)
{
    if (!m_x->ensureOpen())
        return;
    if (handledByWindowManager(window)) {
        requestActive(window);
    } else if (m_x->liveWindowManager() != XCB_WINDOW_NONE) {
        whenManaged(window, [this](xcb_window_t managed) { requestActive(managed); });
    } else {
        xcb_set_input_focus(m_x->xcb(), XCB_INPUT_FOCUS_POINTER_ROOT, window, m_x->serverTime());
        restack(window, XCB_STACK_MODE_ABOVE);
    }
    xcb_flush(m_x->xcb());
}

void X11WindowOrder::requestActive(xcb_window_t window)
{
    xcb_ewmh_request_change_active_window(m_x->ewmh(), 0, window, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
                                          m_x->serverTime(), XCB_WINDOW_NONE);
}

// A window just shown is not the manager's yet; requests for it wait, in
// order, until it is.
void X11WindowOrder::whenManaged(xcb_window_t window, std::function<void(xcb_window_t)> request)
{
    if (!m_waitForManager.isActive() || m_waitingWindow != window)
        m_waitingRequests.clear();
    m_waitingWindow = window;
    m_waitingRequests.push_back(std::move(request));
    m_waited.start();
    m_waitForManager.start();
}

void X11WindowOrder::sendOnceManaged()
{
    if (!m_x->ensureOpen() || m_waited.elapsed() > longestWaitMilliseconds) {
        m_waitForManager.stop();
        return;
    }
    if (!handledByWindowManager(m_waitingWindow))
        return;
    m_waitForManager.stop();
    for (const auto &request : std::exchange(m_waitingRequests, {}))
        request(m_waitingWindow);
    xcb_flush(m_x->xcb());
}

// Managed now: a window withdrawn (hidden) may still carry a WM_STATE of
// Withdrawn, and a request for it would be lost.
bool X11WindowOrder::handledByWindowManager(xcb_window_t window)
{
    return m_x->liveWindowManager() != XCB_WINDOW_NONE &&
           readWindowFacts(*m_x, {window}).front().visible;
}

void X11WindowOrder::requestAbove(xcb_window_t window, bool on)
{
    xcb_ewmh_connection_t *ewmh = m_x->ewmh();
    xcb_ewmh_request_change_wm_state(
        ewmh, 0, window, on ? XCB_EWMH_WM_STATE_ADD : XCB_EWMH_WM_STATE_REMOVE,
        ewmh->_NET_WM_STATE_ABOVE, XCB_ATOM_NONE, XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
}

void X11WindowOrder::setAboveInProperty(xcb_window_t window, bool on)
{
    xcb_ewmh_connection_t *ewmh = m_x->ewmh();
    std::vector<xcb_atom_t> states;
    xcb_ewmh_get_atoms_reply_t reply;
    if (xcb_ewmh_get_wm_state_reply(ewmh, xcb_ewmh_get_wm_state(ewmh, window), &reply, nullptr)) {
        states.assign(reply.atoms, reply.atoms + reply.atoms_len);
        xcb_ewmh_get_atoms_reply_wipe(&reply);
    }
    const xcb_atom_t above = ewmh->_NET_WM_STATE_ABOVE;
    std::erase(states, above);
    if (on)
        states.push_back(above);
    xcb_ewmh_set_wm_state(ewmh, window, static_cast<uint32_t>(states.size()), states.data());
}

void X11WindowOrder::restack(xcb_window_t window, xcb_stack_mode_t mode)
{
    // A window manager turns this into a restack request of the client;
    // without one it moves the window itself.
    const uint32_t values[] = {static_cast<uint32_t>(mode)};
    xcb_configure_window(m_x->xcb(), window, XCB_CONFIG_WINDOW_STACK_MODE, values);
}
