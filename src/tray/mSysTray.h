// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowProcedure.h"

// The window hook of the tray control: notifications about the icon reach its
// own window as one private message, which the hook hands to the control.
namespace mSysTray
{
// WM_USER + 101: the message the shell sends about the icon.
inline constexpr quint32 TrayCallbackMessage = 0x465;

// The procedure in place before the hook: one slot for the whole program.
inline WindowProcedureHook::Procedure SavedWindowProc;

// Hands a tray notification to the control whose address is in the window's
// user data, then passes every message, unchanged, to the saved procedure and
// returns its result.
qintptr TrayWindowProc(const WindowProcedureHook &windows, WindowHandle window, quint32 message,
                       quintptr wParam, qintptr lParam);
} // namespace mSysTray
