// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/SettingsStore.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>

#include <memory>

// The settings store of a test run: an application of its own, named after
// the run's process, so that no test ever reads, writes or clears the user's
// store. While one of these lives the program uses that store, and each one
// removes it as it goes.
class TestSettingsStore
{
public:
    TestSettingsStore() : m_previous(settingsApplication())
    {
        setSettingsApplication(application());
    }
    ~TestSettingsStore()
    {
        remove();
        setSettingsApplication(m_previous);
    }
    TestSettingsStore(const TestSettingsStore &) = delete;
    TestSettingsStore &operator=(const TestSettingsStore &) = delete;

    static QString application()
    {
        return QStringLiteral("TrelvanixTest%1").arg(QCoreApplication::applicationPid());
    }
    static std::unique_ptr<SettingsStore> open() { return openSettingsStore(application()); }

    // Removes the run's store with every value in it; the next write makes it anew.
    static void remove()
    {
        const QString location = open()->location();
#ifdef Q_OS_WIN
        // A registry key: its parent removes it with all it holds.
        const qsizetype cut = location.lastIndexOf(QLatin1Char('\\'));
        QSettings(location.left(cut), QSettings::NativeFormat).remove(location.mid(cut + 1));
#elif defined(Q_OS_LINUX)
        QFile::remove(location);
#else
#error "Say how this platform's settings store is removed."
#endif
    }

private:
    QString m_previous;
};
