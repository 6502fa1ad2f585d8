#include "platform/linux/WindowOrder_x11.h"

#include "platform/linux/WindowFacts_x11.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr int waitPollMilliseconds = 50;
constexpr qint64 longestWaitMilliseconds = 10000;
} // namespace

X11WindowOrder::X11WindowOrder(std::shared_ptr<XConnection> connection) : m_x(std::move(connection))
{
    m_waitForManager.setInterval(waitPollMilliseconds);
    QObject::connect(&m_waitForManager, &QTimer::timeout, [this] { raiseOnceManaged(); });
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
        m_waitingWindow = window;
        m_waited.start();
        m_waitForManager.start();
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

void X11WindowOrder::raiseOnceManaged()
{
    if (!m_x->ensureOpen() || m_waited.elapsed() > longestWaitMilliseconds) {
        m_waitForManager.stop();
        return;
    }
    if (!handledByWindowManager(m_waitingWindow))
        return;
    m_waitForManager.stop();
    requestAbove(m_waitingWindow, true);
    restack(m_waitingWindow, XCB_STACK_MODE_ABOVE);
    xcb_flush(m_x->xcb());
}

bool X11WindowOrder::handledByWindowManager(xcb_window_t window)
{
    return m_x->liveWindowManager() != XCB_WINDOW_NONE && haveWmState(*m_x, {window}).front();
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
