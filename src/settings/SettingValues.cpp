// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SettingValues.h"

#include "common/Failure.h"
#include "common/LocaleNumber.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace
{
// The number in the user's locale or in the point form; never inf or nan.
std::optional<double> readNumber(const QString &text)
{
    if (const std::optional<double> number = readLocaleNumber(text))
        return number;
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

Failure typeMismatch(const QString &text)
{
    return Failure(
        QStringLiteral("Type mismatch: \"%1\" is not a value of this setting").arg(text));
}
} // namespace

qint16 textToInteger(const QString &text)
{
    const std::optional<double> number = readNumber(text);
    if (!number)
        throw typeMismatch(text);
    const double rounded = std::nearbyint(*number); // the default mode rounds half to even
    if (rounded < std::numeric_limits<qint16>::min() ||
        rounded > std::numeric_limits<qint16>::max())
        throw Failure(QStringLiteral("Overflow: %1 is outside -32768 to 32767").arg(text));
    return static_cast<qint16>(rounded);
}

bool textToBoolean(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> number = readNumber(text);
    if (!number)
        throw typeMismatch(text);
    return *number != 0;
}

QString booleanToText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}
