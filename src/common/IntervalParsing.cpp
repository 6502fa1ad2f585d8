#include "common/IntervalParsing.h"

#include <QLocale>

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

std::optional<double> readLocaleNumber(const QString &text)
{
    bool ok = false;
    const double number = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}
