// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Helpers for a private X display, used by `make run` and the system tests:
//   trelvanix-xtool wait-desktop SECONDS   until a window manager runs and a tray host is there
//   trelvanix-xtool screenshot WINDOW FILE  saves a window's picture as PNG
//   trelvanix-xtool windows COUNT TITLE [ignore]  windows that close when asked
#include "CloseableWindows.h"
#include "platform/linux/x11/XConnection.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace
{
bool trayHostRuns(xcb_connection_t *c)
{
    const xcb_atom_t selection = atomNamed(c, "_NET_SYSTEM_TRAY_S0");
    if (selection == XCB_ATOM_NONE)
        return false;
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

int waitDesktop(double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        XConnection x;
        if (x.ensureOpen() && x.liveWindowManager() != XCB_WINDOW_NONE && trayHostRuns(x.xcb()))
            return 0;
        QThread::msleep(100);
    }
    return 1;
}

int screenshot(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const WId window = std::strtoul(argv[2], nullptr, 0);
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    return !picture.isNull() && picture.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "wait-desktop") == 0)
        return waitDesktop(std::atof(argv[2]));
    if (argc == 4 && std::strcmp(argv[1], "screenshot") == 0)
        return screenshot(argc, argv);
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "windows") == 0)
        return runCloseableWindows(std::atoi(argv[2]), argv[3],
                                   argc == 5 && std::strcmp(argv[4], "ignore") == 0);
    return 2;
}
