#pragma once

#include <functional>

class QObject;

// Runs `handler` on the user-interface thread, from its event loop, whenever
// the program is asked from outside to end (on Linux: SIGTERM, SIGINT and
// SIGHUP, as at logout). It lives as long as `context`.
void onEndRequested(QObject *context, std::function<void()> handler);
