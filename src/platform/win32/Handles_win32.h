// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowTypes.h"

#include <windows.h>

// The system's window handles as the platform headers carry them, and back.
inline HWND asHwnd(WindowHandle window)
{
    return reinterpret_cast<HWND>(static_cast<quintptr>(window));
}

inline WindowHandle asHandle(HWND window)
{
    // Window handles carry 32 significant bits, also in 64-bit processes.
    return static_cast<WindowHandle>(reinterpret_cast<quintptr>(window));
}

// A time of the system's as one number, in its 100 ns units.
inline quint64 fileTimeValue(const FILETIME &time)
{
    return (quint64(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
