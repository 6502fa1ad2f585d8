// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Display.h"

// A Windows desktop is always there for an interactive program.
QString displayProblem()
{
    return {};
}

// The system's own windows are the only ones; DISPLAY, set by Wine or an X
// server a user runs, says nothing about them.
void chooseWindowPlatform() {}
