// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/VisibleText.h"

#include <algorithm>

namespace
{
constexpr char16_t controlPictures = 0x2400;
constexpr char16_t deletePicture = 0x2421;

bool isC0(char16_t c)
{
    return c < 0x20;
}

bool needsMarker(char16_t c)
{
    return (c >= 0x80 && c <= 0x9f) || c == 0x061c || c == 0x200e || c == 0x200f ||
           (c >= 0x2028 && c <= 0x2029) || (c >= 0x202a && c <= 0x202e) ||
           (c >= 0x2066 && c <= 0x2069);
}

bool needsShowing(QChar c)
{
    const char16_t u = c.unicode();
    return isC0(u) || u == 0x7f || needsMarker(u);
}

void appendShown(QString &out, char16_t c)
{
    if (isC0(c))
        out += QChar(controlPictures + c);
    else if (c == 0x7f)
        out += QChar(deletePicture);
    else if (needsMarker(c))
        out += QStringLiteral("<U+%1>").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    else
        out += QChar(c);
}
} // namespace

QString visibleText(const QString &text)
{
    // Almost every name needs nothing; it is shared, not copied.
    if (std::none_of(text.cbegin(), text.cend(), needsShowing))
        return text;
    QString shown;
    shown.reserve(text.size() + 8);
    for (const QChar c : text)
        appendShown(shown, c.unicode());
    return shown;
}
