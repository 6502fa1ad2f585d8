// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The per-user settings store: text values of application "Quorbel", section
// "Trelvanix". Nothing is cached; every call reaches the store.

// The value under `key`, or `defaultValue` when the key is absent. Throws
// Failure, saying why, when the store cannot be read.
QString readSetting(const QString &key, const QString &defaultValue = QString());

// Creates or replaces the value under `key`. Throws Failure, saying why, when
// the store cannot be written; the store then keeps its previous content.
void writeSetting(const QString &key, const QString &value);

// The application whose store the settings live in: "Quorbel", where earlier
// installations kept them. Tests name one of their own, so that they never
// reach the user's values.
QString settingsApplication();
void setSettingsApplication(const QString &name);
