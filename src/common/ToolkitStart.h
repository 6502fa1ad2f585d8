// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Says on standard error, in one line, that the program has no display it can
// use, and why.
void reportNoDisplay(const QString &problem);

// While it lives, a toolkit that fails to start (Qt ends the program with a
// fatal message when the display refuses its connection, even right after a
// check found it fine) ends the program as a missing display does: one line
// and exit code 2. Other messages meanwhile are held and passed on at its end.
class ToolkitStartWatch
{
public:
    ToolkitStartWatch();
    ~ToolkitStartWatch();
    ToolkitStartWatch(const ToolkitStartWatch &) = delete;
    ToolkitStartWatch &operator=(const ToolkitStartWatch &) = delete;
};
