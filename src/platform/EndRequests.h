// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

class QObject;

// From here until catchEndRequests, a request to end ends the program at once
// with code 0: nothing has been read or shown yet that an end would lose.
// Called first, before anything that may wait. Requests that the starting
// process blocked are taken from now on too.
void endAtOnceOnRequests();

// Catches the requests from outside to end the program (on Linux: SIGTERM,
// SIGINT and SIGHUP, as at logout) from now on. Until a handler is connected
// they are only noted, so a request that comes during start-up is kept.
void catchEndRequests();

// Runs `handler` on the user-interface thread, from its event loop, for every
// request caught (those noted before included). It lives as long as `context`.
void onEndRequested(QObject *context, std::function<void()> handler);
