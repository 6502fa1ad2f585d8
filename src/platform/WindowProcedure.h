// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowTypes.h"

#include <functional>

class QWidget;

// The message procedures of the program's own windows, and their replacement
// (subclassing), for the tray control's own window: the shell's notifications
// about the icon arrive there as messages.
class WindowProcedureHook
{
public:
    using Procedure = std::function<qintptr(WindowHandle window, quint32 message, quintptr wParam,
                                            qintptr lParam)>;

    virtual ~WindowProcedureHook() = default;
    // The window that stands for one of the program's widgets.
    virtual WindowHandle windowOf(QWidget *widget) = 0;
    // Installs `procedure`; returns the one it replaces.
    virtual Procedure replace(WindowHandle window, Procedure procedure) = 0;
    // The window's user-data slot: a plain value the window's owner keeps there.
    virtual void setUserData(WindowHandle window, quintptr data) = 0;
    virtual quintptr userData(WindowHandle window) const = 0;
};
