// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/EndRequests.h"

// A windowed program on Windows is asked to end through its windows
// (WM_CLOSE, WM_ENDSESSION), which Qt turns into close events already.
void endAtOnceOnRequests() {}

void catchEndRequests() {}

void onEndRequested(QObject *, std::function<void()>) {}
