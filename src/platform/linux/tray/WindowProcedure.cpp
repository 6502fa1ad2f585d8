// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/tray/WindowProcedure.h"

WindowHandle LinuxWindowProcedures::windowOf(QWidget *widget)
{
    const auto found = m_handles.constFind(widget);
    if (found != m_handles.cend())
        return *found;
    const WindowHandle handle = ++m_lastHandle;
    m_handles.insert(widget, handle);
    m_windows.insert(handle, Window{});
    return handle;
}

WindowProcedureHook::Procedure LinuxWindowProcedures::replace(WindowHandle window,
                                                              Procedure procedure)
{
    return std::exchange(m_windows[window].procedure, std::move(procedure));
}

void LinuxWindowProcedures::setUserData(WindowHandle window, quintptr data)
{
    m_windows[window].userData = data;
}

quintptr LinuxWindowProcedures::userData(WindowHandle window) const
{
    return m_windows.value(window).userData;
}

qintptr LinuxWindowProcedures::send(WindowHandle window, quint32 message, quintptr wParam,
                                    qintptr lParam)
{
    // A copy: the procedure may be replaced while it runs.
    const Procedure procedure = m_windows.value(window).procedure;
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}
