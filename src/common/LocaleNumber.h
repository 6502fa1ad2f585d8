// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

// The decimal separator of the user's locale, one character, found afresh on
// every call from how the locale writes one half.
QString localeDecimalSeparator();

// With `toPoint` the locale's separator becomes "."; without, both "." and ","
// become the locale's separator, so that either reads as the decimal point.
QString normaliseDecimal(const QString &text, bool toPoint);

// The double the user's locale reads from a text, infinities and nan
// included; none for a text it refuses, such as one beyond a double's range.
std::optional<double> readLocaleDouble(const QString &text);

// The number a text holds in the user's locale; none for other texts and for
// infinities and nan, which no interval can be.
std::optional<double> readLocaleNumber(const QString &text);
