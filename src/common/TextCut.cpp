// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/TextCut.h"

QString leftCharacters(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    const bool splitsPair = limit > 0 && text[limit - 1].isHighSurrogate();
    return text.left(splitsPair ? limit - 1 : limit);
}

QString rightCharacters(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    const bool splitsPair = limit > 0 && text[text.size() - limit].isLowSurrogate();
    return text.right(splitsPair ? limit - 1 : limit);
}
