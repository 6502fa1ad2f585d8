#pragma once

#include "app/Form1.h"
#include "common/StoreText.h"
#include "platform/PlatformServices.h"
#include "support/FakeDialogs.h"
#include "support/FakeProcessSnapshot.h"
#include "support/FakeTermination.h"
#include "support/FakeTray.h"
#include "support/FakeWindows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>

// A main window over in-memory processes, windows, boxes and clock, with an
// empty settings store.
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
        processes->add(1, "init");
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
    }

    std::unique_ptr<Form1> makeForm()
    {
        auto made = std::make_unique<Form1>(platform, programFolder.path());
        made->setMonotonicClock([this] { return now; });
        return made;
    }

    // Where QSettings kept the store, which is where it stays. Asked once:
    // QSettings reads the store, which a test may make a FIFO.
    static QString settingsFile()
    {
        static const QString path =
            QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorbel"))
                .fileName();
        return path;
    }
    static void clearSettingsStore() { QFile::remove(settingsFile()); }
    static QByteArray settingsBytes()
    {
        QFile file(settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void store(const QString &key, const QString &value)
    {
        const QByteArray bytes = StoreText(settingsBytes()).withValue(u"Trelvanix", key, value);
        QDir().mkpath(QFileInfo(settingsFile()).absolutePath());
        QFile file(settingsFile());
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }
    static QVariant stored(const QString &key)
    {
        const std::optional<QString> value = StoreText(settingsBytes()).value(u"Trelvanix", key);
        return value ? QVariant(*value) : QVariant();
    }

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
