// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/Form1.h"
#include "platform/PlatformServices.h"
#include "support/FakeDialogs.h"
#include "support/FakeProcessSnapshot.h"
#include "support/FakeTermination.h"
#include "support/FakeTray.h"
#include "support/FakeWindows.h"
#include "support/RequestedExit.h"
#include "support/TestSettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>

// A main window over in-memory processes, windows, boxes and clock, with an
// empty settings store of the test run's own.
struct FormFixture {
    void setUp()
    {
        clearSettingsStore();
        auto source = std::make_unique<FakeProcessSnapshotSource>();
        processes = source.get();
        platform.processSnapshots = std::move(source);
        auto walk = std::make_unique<FakeWindowWalk>();
        windows = walk.get();
        platform.windowWalk = std::move(walk);
        auto windowOrder = std::make_unique<FakeWindowOrder>();
        order = windowOrder.get();
        platform.windowOrder = std::move(windowOrder);
        auto processControl = std::make_unique<FakeProcessControl>(*processes);
        ending = processControl.get();
        platform.processControl = std::move(processControl);
        auto windowControl = std::make_unique<FakeWindowControl>(*windows);
        closing = windowControl.get();
        platform.windowControl = std::move(windowControl);
        auto procedures = std::make_unique<FakeWindowProcedures>();
        windowProcedures = procedures.get();
        platform.windowProcedures = std::move(procedures);
        auto shell = std::make_unique<FakeNotifyIconShell>();
        tray = shell.get();
        platform.notifyIconShell = std::move(shell);
        processes->add(0, "[System Process]"); // the idle entry, never listed
        processes->add(300, "zsh");
        processes->add(200, "bash");
        processes->add(100, "Xorg");
        dialogs = std::make_unique<FakeDialogs>();
        form = makeForm();
    }

    void tearDown()
    {
        form.reset();
        dialogs.reset();
        forgetRequestedExit();
        // A skin covers the boxes too, through the application's style sheet;
        // the next test's window would load its pictures again.
        qApp->setStyleSheet(QString());
    }

    std::unique_ptr<Form1> makeForm()
    {
        auto made = std::make_unique<Form1>(platform, programFolder.path());
        made->setMonotonicClock([this] { return now; });
        return made;
    }

    // How many of the window and its option controls wear the face colour.
    int facedWidgets() const
    {
        const QColor face = QApplication::palette().color(QPalette::Button);
        const QList<const QWidget *> widgets{form.get(), form->Option3, form->Option4, form->Check1,
                                             form->Frame2};
        return int(std::count_if(widgets.begin(), widgets.end(), [&](const QWidget *widget) {
            return widget->autoFillBackground() &&
                   widget->palette().color(QPalette::Window) == face;
        }));
    }

    // The test run's store (see TestSettingsStore), emptied for each test.
    static void clearSettingsStore() { TestSettingsStore::remove(); }
    static void store(const QString &key, const QString &value)
    {
        const QString problem = TestSettingsStore::open()->setValue(section, key, value);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    static QVariant stored(const QString &key)
    {
        const SettingsStore::Read read = TestSettingsStore::open()->value(section, key);
        return read.text ? QVariant(*read.text) : QVariant();
    }
    static inline const QString section = QStringLiteral("Trelvanix");

    const TestSettingsStore settingsStore; // made before the window, gone after it
    QTemporaryDir programFolder;
    PlatformServices platform;
    FakeProcessSnapshotSource *processes = nullptr;
    FakeWindowWalk *windows = nullptr;
    FakeWindowOrder *order = nullptr;
    FakeProcessControl *ending = nullptr;
    FakeWindowControl *closing = nullptr;
    FakeWindowProcedures *windowProcedures = nullptr;
    FakeNotifyIconShell *tray = nullptr;
    std::unique_ptr<FakeDialogs> dialogs;
    std::unique_ptr<Form1> form;
    std::chrono::nanoseconds now{std::chrono::hours(1)};
};
