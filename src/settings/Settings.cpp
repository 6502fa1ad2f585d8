// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/Settings.h"

#include "common/Failure.h"
#include "platform/SettingsStore.h"

namespace
{
const QString sectionName = QStringLiteral("Trelvanix");

QString &applicationName()
{
    static QString name = QStringLiteral("Quorbel");
    return name;
}
} // namespace

QString readSetting(const QString &key, const QString &defaultValue)
{
    const auto store = openSettingsStore(applicationName());
    const SettingsStore::Read read = store->value(sectionName, key);
    if (!read.problem.isEmpty())
        throw Failure(QStringLiteral("The settings could not be read from %1: %2")
                          .arg(store->location(), read.problem));
    return read.text.value_or(defaultValue);
}

void writeSetting(const QString &key, const QString &value)
{
    const auto store = openSettingsStore(applicationName());
    const QString problem = store->setValue(sectionName, key, value);
    if (!problem.isEmpty())
        throw Failure(QStringLiteral("The settings could not be saved in %1: %2")
                          .arg(store->location(), problem));
}

QString settingsApplication()
{
    return applicationName();
}

void setSettingsApplication(const QString &name)
{
    applicationName() = name;
}
