// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Windows of a helper process that close when asked (WM_DELETE_WINDOW), as
// ordinary programs do, or ignore the request. Runs until all are closed.
//   COUNT windows titled "TITLE 0", "TITLE 1"... (just TITLE when COUNT is 1);
//   prints "ready" once the window manager (if any) has taken all of them on.
int runCloseableWindows(int count, const char *title, bool ignoreRequests);
