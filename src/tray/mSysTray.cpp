// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/mSysTray.h"

#include "tray/cSysTray.h"

qintptr mSysTray::TrayWindowProc(const WindowProcedureHook &windows, WindowHandle window,
                                 quint32 message, quintptr wParam, qintptr lParam)
{
    if (message == TrayCallbackMessage) {
        // A borrowed reference: the control owns the window, never the reverse.
        if (auto *control = reinterpret_cast<cSysTray *>(windows.userData(window))) {
            try {
                control->DispatchTrayMessage(lParam, wParam);
            } catch (...) {
                // Handlers report their own failures; none may leave a window procedure.
            }
        }
    }
    const WindowProcedureHook::Procedure previous = SavedWindowProc;
    return previous ? previous(window, message, wParam, lParam) : 0;
}
