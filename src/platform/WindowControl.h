// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowTypes.h"

#include <chrono>
#include <vector>

// Requests to other programs' windows.
class WindowControl
{
public:
    using Deadline = std::chrono::steady_clock::time_point;

    virtual ~WindowControl() = default;
    // Asks the window to close, as its close box would; the window decides.
    virtual void requestClose(WindowHandle window) = 0;
    // Returns once every window has closed (gone or withdrawn), or at `deadline`.
    virtual void waitUntilClosed(const std::vector<WindowHandle> &windows, Deadline deadline) = 0;
};
