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

// The services on the system's own functions.
std::unique_ptr<ProcessSnapshotSource> createToolhelpSnapshotSource();
std::unique_ptr<WindowWalk> createUser32WindowWalk();
std::unique_ptr<WindowOrder> createUser32WindowOrder();
std::unique_ptr<ProcessControl> createKernel32ProcessControl();
std::unique_ptr<WindowControl> createUser32WindowControl();
std::unique_ptr<NotifyIconShell> createShell32NotifyIcon();
std::unique_ptr<WindowProcedureHook> createUser32WindowProcedures();
