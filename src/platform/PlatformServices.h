// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/NotifyIcon.h"
#include "platform/ProcessControl.h"
#include "platform/ProcessSnapshot.h"
#include "platform/WindowControl.h"
#include "platform/WindowOrder.h"
#include "platform/WindowProcedure.h"
#include "platform/WindowWalk.h"

#include <memory>

// The platform's services as the program's logic uses them. Tests build one
// from in-memory fakes.
struct PlatformServices {
    std::unique_ptr<ProcessSnapshotSource> processSnapshots;
    std::unique_ptr<WindowWalk> windowWalk;
    std::unique_ptr<WindowOrder> windowOrder;
    std::unique_ptr<ProcessControl> processControl;
    std::unique_ptr<WindowControl> windowControl;
    // The shell may deliver to the procedures: it goes first.
    std::unique_ptr<WindowProcedureHook> windowProcedures;
    std::unique_ptr<NotifyIconShell> notifyIconShell;
};

// The services of the platform the program was built for.
PlatformServices createPlatformServices();
