// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowTypes.h"

// The stacking order of top-level windows, and the input focus. Neither call reports failure: a
// request the window system refuses changes nothing.
class WindowOrder
{
public:
    virtual ~WindowOrder() = default;
    // Above all windows that are not topmost, position and size kept.
    virtual void makeTopmost(WindowHandle window) = 0;
    // Not topmost, and behind all other windows, position and size kept.
    virtual void sendToBottom(WindowHandle window) = 0;
    // In front, with the input focus, as the user's choice in a taskbar.
    virtual void activate(WindowHandle window) = 0;
};
