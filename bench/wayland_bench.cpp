// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The task pass over 200 native Wayland windows against the same pass over
// 200 X11 windows, in one run: the walk, the titles and the table.
// Needs DISPLAY (an X server with a window manager), WAYLAND_DISPLAY (a
// compositor with a window-management protocol, or GNOME Shell with the
// program's extension) and TRELVANIX_BUILD_DIR (its test client).
#include "BenchSupport.h"

#include "platform/linux/session/SessionWindows.h"
#include "platform/linux/x11/WindowControl.h"
#include "platform/linux/x11/WindowWalk.h"
#include "proc/TaskPass.h"
#include "support/WaylandClient.h"

#include <QGuiApplication>

#include <cstdio>

namespace
{
constexpr int windowCount = 200;
} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("DISPLAY") || !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "wayland_bench, with DISPLAY and WAYLAND_DISPLAY\n");
        return 1;
    }
    QGuiApplication app(argc, argv);
    const BenchWindows x11Windows(windowCount);
    WaylandClient client;
    client.send(QStringLiteral("many %1 Bench").arg(windowCount));
    if (!client.await(QStringLiteral("mapped-all %1").arg(windowCount), 60000)) {
        std::fprintf(stderr, "the native windows did not come\n");
        return 1;
    }

    auto x = std::make_shared<XConnection>();
    X11WindowWalk x11(x);
    auto session = std::make_shared<SessionWindows>(
        std::make_unique<X11WindowWalk>(x), std::make_unique<X11WindowControl>(x),
        connectNativeWindows(), SessionWindows::OwnWindows{});
    SessionWindowWalk native(session);
    TaskTable table;
    const double x11Ms = medianMs([&] { enumTopWindows(x11, table, 0, 0); });
    const int x11Listed = table.count();
    const double nativeMs = medianMs([&] { enumTopWindows(native, table, 0, 0); });
    std::printf("X11 walk, %d windows listed: %.2f ms; native walk, %d listed: %.2f ms: %.2fx\n",
                x11Listed, x11Ms, table.count(), nativeMs, nativeMs / x11Ms);
    return session->isNative() ? 0 : 1;
}
