// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PlatformServices.h"

#include "platform/win32/Services_win32.h"

PlatformServices createPlatformServices()
{
    PlatformServices services;
    services.processSnapshots = createToolhelpSnapshotSource();
    services.windowWalk = createUser32WindowWalk();
    services.windowOrder = createUser32WindowOrder();
    services.processControl = createKernel32ProcessControl();
    services.windowControl = createUser32WindowControl();
    services.windowProcedures = createUser32WindowProcedures();
    services.notifyIconShell = createShell32NotifyIcon();
    return services;
}
