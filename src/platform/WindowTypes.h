// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

// A top-level window of the desktop; 0 is no window. Shown to the user as a
// signed 32-bit decimal.
using WindowHandle = quint32;

inline qint32 windowHandleAsSigned(WindowHandle handle)
{
    return static_cast<qint32>(handle);
}
