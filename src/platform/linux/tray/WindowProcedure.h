// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowProcedure.h"

#include <QHash>

// The program's own message windows: a number per widget, a procedure and a
// user-data slot each. The notification-area layer delivers its messages here.
class LinuxWindowProcedures : public WindowProcedureHook
{
public:
    WindowHandle windowOf(QWidget *widget) override;
    Procedure replace(WindowHandle window, Procedure procedure) override;
    void setUserData(WindowHandle window, quintptr data) override;
    quintptr userData(WindowHandle window) const override;

    // Sends a message to the window's procedure and returns its result.
    qintptr send(WindowHandle window, quint32 message, quintptr wParam, qintptr lParam);

private:
    struct Window {
        Procedure procedure; // none: the default one, which answers 0
        quintptr userData = 0;
    };

    QHash<const QWidget *, WindowHandle> m_handles;
    QHash<WindowHandle, Window> m_windows;
    WindowHandle m_lastHandle = 0;
};
