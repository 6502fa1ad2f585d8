// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <memory>
#include <optional>

// The platform's per-user store of one application's settings: texts by
// section and key, read from and written to the store on every call.
class SettingsStore
{
public:
    // A value as read: its text, none when the key is absent; or, when the
    // store could not be read, why not in words for the user.
    struct Read {
        std::optional<QString> text;
        QString problem;
    };

    virtual ~SettingsStore() = default;

    virtual Read value(const QString &section, const QString &key) const = 0;

    // Empty when written; otherwise why not, in words for the user, and the
    // store keeps what it held.
    virtual QString setValue(const QString &section, const QString &key, const QString &text) = 0;

    // Where the store is, as the user would look for it.
    virtual QString location() const = 0;
};

std::unique_ptr<SettingsStore> openSettingsStore(const QString &applicationName);
