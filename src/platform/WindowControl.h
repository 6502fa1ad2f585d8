#pragma once

#include "platform/WindowTypes.h"

// Requests to other programs' windows and to the window order.
class WindowControl
{
public:
    virtual ~WindowControl() = default;
    // Asks the window to close, as its close box would; the window decides.
    virtual void requestClose(WindowHandle window) = 0;
    // Above all windows that are not topmost, position and size kept.
    virtual void makeTopmost(WindowHandle window) = 0;
    // Not topmost, and behind all other windows, position and size kept.
    virtual void sendToBottom(WindowHandle window) = 0;
};
