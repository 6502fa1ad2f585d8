// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/linux/x11/XConnection.h"

#include <QString>

#include <vector>

// What the task pass asks of one window, read in one batch for many windows.
struct WindowFacts {
    bool exists = false;
    bool visible = false;  // managed: shown or minimised, not withdrawn
    bool bordered = false; // decorated by the window manager
    QString title;
};

// The top-level client windows, topmost first.
std::vector<xcb_window_t> topLevelClientsTopFirst(XConnection &x);

// Whether each window carries WM_STATE, that is, is a client a manager has
// taken on (or, without a manager, marked itself), asked all at once.
std::vector<bool> haveWmState(XConnection &x, const std::vector<xcb_window_t> &windows);

// The facts of every window, in the same order; all requests are sent before
// the first reply is awaited.
std::vector<WindowFacts> readWindowFacts(XConnection &x, const std::vector<xcb_window_t> &windows);
