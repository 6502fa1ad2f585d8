// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

class QObject;

// Catches the requests from outside to end the program (on Linux: SIGTERM,
// SIGINT and SIGHUP, as at logout) from now on. Until a handler is connected
// they are only noted, so a request that comes during start-up is kept.
void catchEndRequests();

// Runs `handler` on the user-interface thread, from its event loop, for every
// request caught (those noted before included). It lives as long as `context`.
void onEndRequested(QObject *context, std::function<void()> handler);
