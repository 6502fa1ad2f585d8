// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Why the program cannot reach the display the toolkit is about to open, in
// one line for the terminal; empty when it can.
QString displayProblem();

// Chooses the toolkit's platform for the windows the program lists and orders,
// unless the user chose one; called before the toolkit starts.
void chooseWindowPlatform();
