// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/LocaleNumber.h"

#include <QLocale>
#include <QRegularExpression>

#include <charconv>
#include <cmath>

QString localeDecimalSeparator()
{
    const QString half = QLocale().toString(1.0 / 2).trimmed();
    // A locale that wrote one half without a separator would make every
    // replacement below insert text between all characters.
    return half.size() >= 2 ? half.mid(1, 1) : QStringLiteral(".");
}

QString normaliseDecimal(const QString &text, bool toPoint)
{
    QString result = text;
    if (toPoint)
        return result.replace(localeDecimalSeparator(), QStringLiteral("."));
    result.replace(QStringLiteral("."), localeDecimalSeparator());
    return result.replace(QStringLiteral(","), localeDecimalSeparator());
}

namespace
{
// A number too small for a double, such as 1e-400: Qt refuses it, yet it is
// a number, and it reads as zero.
bool underflowsToZero(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)[eE]-\\d+$"));
    const QString pointForm = normaliseDecimal(text.trimmed(), true);
    if (!form.match(pointForm).hasMatch())
        return false;
    const QByteArray ascii = pointForm.toLatin1();
    const char *begin = ascii.constData() + (ascii.startsWith('+') ? 1 : 0);
    double value = 0;
    const auto [end, error] = std::from_chars(begin, ascii.constData() + ascii.size(), value);
    return error == std::errc::result_out_of_range && end == ascii.constData() + ascii.size();
}
} // namespace

std::optional<double> readLocaleDouble(const QString &text)
{
    bool ok = false;
    const double number = QLocale().toDouble(text.trimmed(), &ok);
    return ok ? std::optional(number) : std::nullopt;
}

std::optional<double> readLocaleNumber(const QString &text)
{
    const std::optional<double> number = readLocaleDouble(text);
    if (!number && underflowsToZero(text))
        return 0.0;
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    return number;
}
