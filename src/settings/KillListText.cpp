// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/KillListText.h"

#include <algorithm>

namespace
{
const QString fieldSeparator = QStringLiteral("||MySeparator1||");
const QString entrySeparator = QStringLiteral("||MySeparator2||");

// A field stands between two separators, and a piece of one typed by hand at
// its start or end, such as "cut||MySeparator2", would complete a separator
// with them at the next save and split the entry there. Such a piece is left
// out: it reads as part of the separator it resembles.
QString withoutSeparatorPieces(QString field)
{
    const QString bar = QStringLiteral("||");
    for (;;) {
        const QString framed = bar + field + bar;
        qsizetype at = framed.indexOf(fieldSeparator);
        const qsizetype entryAt = framed.indexOf(entrySeparator);
        if (at < 0 || (entryAt >= 0 && entryAt < at))
            at = entryAt;
        if (at < 0)
            return field;
        const qsizetype start = std::max<qsizetype>(at - bar.size(), 0);
        const qsizetype end = std::min(at - bar.size() + fieldSeparator.size(), field.size());
        field.remove(start, end - start);
    }
}
} // namespace

QString KillListText::entry(const QString &name, const QString &type)
{
    return name + fieldSeparator + type + entrySeparator;
}

QStringList KillListText::pieces(const QString &text)
{
    return text.split(entrySeparator);
}

QStringList KillListText::fields(const QString &piece)
{
    QStringList fields = piece.split(fieldSeparator);
    for (QString &field : fields)
        field = withoutSeparatorPieces(field);
    return fields;
}
