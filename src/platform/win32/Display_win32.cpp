// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Display.h"

#include <windows.h>

// A Windows desktop is always there for an interactive program.
QString displayProblem()
{
    return {};
}

// The system's own windows are the only ones; DISPLAY, set by Wine or an X
// server a user runs, says nothing about them. The manifest has made the
// program follow each monitor's scale before the toolkit starts, and the
// toolkit asks for that again, in its second version. A system that knows
// only the first (Wine) refuses that request, and the toolkit warns of it at
// every start: it is then told the awareness in effect instead.
void chooseWindowPlatform()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    const DPI_AWARENESS_CONTEXT context = GetThreadDpiAwarenessContext();
    if (GetAwarenessFromDpiAwarenessContext(context) == DPI_AWARENESS_PER_MONITOR_AWARE &&
        !AreDpiAwarenessContextsEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        qputenv("QT_QPA_PLATFORM", "windows:dpiawareness=2");
}
