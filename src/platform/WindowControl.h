#pragma once

#include "platform/WindowTypes.h"

// Requests to other programs' windows.
class WindowControl
{
public:
    virtual ~WindowControl() = default;
    // Asks the window to close, as its close box would; the window decides.
    virtual void requestClose(WindowHandle window) = 0;
};
