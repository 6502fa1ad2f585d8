// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PlatformServices.h"

#include "platform/linux/gnome/ShellWindows.h"
#include "platform/linux/proc/ProcessControl.h"
#include "platform/linux/proc/ProcessSnapshot.h"
#include "platform/linux/session/SessionWindows.h"
#include "platform/linux/tray/NotifyIconShell.h"
#include "platform/linux/tray/WindowProcedure.h"
#include "platform/linux/wayland/NativeWindows.h"
#include "platform/linux/x11/WindowControl.h"
#include "platform/linux/x11/WindowOrder.h"
#include "platform/linux/x11/WindowWalk.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWindow>

#include <algorithm>

#include <sys/resource.h>

namespace
{
// The process scan keeps descriptors above 1024, where select() never meets
// them; a session's soft limit is often 1024 while its hard one is far above.
// The program starts no other program that could inherit the higher limit.
void raiseDescriptorLimit()
{
    constexpr rlim_t enough = 1 << 20;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max)
        return;
    limit.rlim_cur = std::min(limit.rlim_max, enough);
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

// Where the compositor gives no process IDs, our window is the one of our
// application's name showing one of our own titles.
SessionWindows::OwnWindows ownWindows()
{
    SessionWindows::OwnWindows own;
    own.appIds = {QCoreApplication::applicationName(),
                  QFileInfo(QCoreApplication::applicationFilePath()).fileName()};
    own.titles = [] {
        std::vector<QString> titles;
        for (const QWindow *window : QGuiApplication::topLevelWindows())
            if (window->isVisible())
                titles.push_back(window->title());
        return titles;
    };
    return own;
}
} // namespace

std::unique_ptr<NativeWindowSource> connectNativeWindows()
{
    if (std::unique_ptr<NativeWindowSource> shell = GnomeShellWindows::connect())
        return shell;
    return NativeWindows::connect();
}

PlatformServices createPlatformServices()
{
    PlatformServices services;
    raiseDescriptorLimit();
    services.processSnapshots = std::make_unique<ProcFsSnapshotSource>();
    auto x = std::make_shared<XConnection>();
    auto windows = std::make_shared<SessionWindows>(std::make_unique<X11WindowWalk>(x),
                                                    std::make_unique<X11WindowControl>(x),
                                                    connectNativeWindows(), ownWindows());
    services.windowWalk = std::make_unique<SessionWindowWalk>(windows);
    services.windowOrder = std::make_unique<X11WindowOrder>(x);
    services.processControl = std::make_unique<PidfdProcessControl>();
    services.windowControl = std::make_unique<SessionWindowControl>(windows);
    auto procedures = std::make_unique<LinuxWindowProcedures>();
    services.notifyIconShell = std::make_unique<QtNotifyIconShell>(*procedures);
    services.windowProcedures = std::move(procedures);
    return services;
}
