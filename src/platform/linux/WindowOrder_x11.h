#pragma once

#include "platform/WindowOrder.h"
#include "platform/linux/XConnection_x11.h"

#include <memory>

// Keep-on-top through the window manager's _NET_WM_STATE_ABOVE. A window the
// manager does not handle yet (not yet shown) carries the state in its own
// property, which the manager reads when it takes the window on.
class X11WindowOrder : public WindowOrder
{
public:
    explicit X11WindowOrder(std::shared_ptr<XConnection> connection);

    void makeTopmost(WindowHandle window) override;
    void sendToBottom(WindowHandle window) override;

private:
    bool handledByWindowManager(xcb_window_t window);
    void setAbove(xcb_window_t window, bool on);
    void setAboveInProperty(xcb_window_t window, bool on);
    void restack(xcb_window_t window, xcb_stack_mode_t mode);

    std::shared_ptr<XConnection> m_x;
};
