// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form1.h"
#include "platform/PlatformServices.h"
#include "support/RequestedExit.h"
#include "support/TestSettingsStore.h"

#include <QTemporaryDir>
#include <QTest>

// The main window over the real platform, in this process.
struct RealForm {
    // Loads and shows the window; false when it never came on the screen.
    bool loadAndShow()
    {
        form.Form_Load();
        form.show();
        return QTest::qWaitForWindowExposed(&form);
    }

    const RequestedExitForgetter exitForgetter;
    const TestSettingsStore settingsStore; // made before the window, gone after it
    PlatformServices platform = createPlatformServices();
    QTemporaryDir folder;
    Form1 form{platform, folder.path()};
};
