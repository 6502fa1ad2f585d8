// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Conversions between the settings store's texts and the controls' values.
// A text that does not convert throws Failure.

// A decimal number, rounded half to even, in the signed 16-bit range.
qint16 textToInteger(const QString &text);

// "True" or "False" in any letter case, or a number: 0 is false, others true.
bool textToBoolean(const QString &text);

QString booleanToText(bool value);
