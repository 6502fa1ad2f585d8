// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QTimer>

// A main window that ended the program asked the application to exit, which
// makes every later loop of the toolkit's own (a balloon's wait, say) return
// at once; the application's loop, run for a moment, forgets it.
inline void forgetRequestedExit()
{
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

// Forgets it when it goes: declared before the window, it goes after it.
struct RequestedExitForgetter {
    RequestedExitForgetter() = default;
    RequestedExitForgetter(const RequestedExitForgetter &) = delete;
    RequestedExitForgetter &operator=(const RequestedExitForgetter &) = delete;
    ~RequestedExitForgetter() { forgetRequestedExit(); }
};
