// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/BoxText.h"

#include "common/TextCut.h"

#include <QStringList>

#include <algorithm>

namespace
{
// Characters shown with all of the box's lines; fewer lines show fewer.
constexpr qsizetype mostBoxCharacters = 2000;
// Words longer than this may break anywhere, or a single one would widen the
// box past the screen.
constexpr qsizetype longestUnbrokenRun = 60;
const QString ellipsis = QStringLiteral("\u2026");
const QChar zeroWidthSpace(0x200B);

QString middleCharactersCut(const QString &text, qsizetype mostCharacters)
{
    if (text.size() <= mostCharacters)
        return text;
    const qsizetype half = mostCharacters / 2;
    return leftCharacters(text, half) + ellipsis + rightCharacters(text, half);
}

// The first and last lines, with an ellipsis line between them.
QString middleLinesCut(const QString &text, qsizetype mostLines)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() <= mostLines)
        return text;
    const qsizetype head = mostLines / 2;
    const qsizetype tail = mostLines - head - 1;
    return (lines.mid(0, head) + QStringList{ellipsis} + lines.mid(lines.size() - tail))
        .join(QLatin1Char('\n'));
}

QString longRunsFreeToWrap(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.size() / longestUnbrokenRun);
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        run = c.isSpace() ? 0 : run + 1;
        if (run > longestUnbrokenRun && !c.isLowSurrogate()) {
            result += zeroWidthSpace;
            run = 1;
        }
        result += c;
    }
    return result;
}
} // namespace

QString boundedForBox(const QString &text, qsizetype lines)
{
    lines = std::max<qsizetype>(lines, 3); // the first, the ellipsis and the last
    const qsizetype characters = mostBoxCharacters * lines / mostBoxLines;
    return longRunsFreeToWrap(middleLinesCut(middleCharactersCut(text, characters), lines));
}
