#pragma once

#include "platform/WindowTypes.h"

#include <functional>

// Replacement of a window's message procedure, for the tray control's own
// window: the shell's notifications about the icon arrive there.
class WindowProcedureHook
{
public:
    using Procedure = std::function<qintptr(WindowHandle window, quint32 message, quintptr wParam,
                                            qintptr lParam)>;

    virtual ~WindowProcedureHook() = default;
    // Installs `procedure`; returns the one it replaces.
    virtual Procedure replace(WindowHandle window, Procedure procedure) = 0;
};
