// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/ApplicationTitle.h"

namespace
{
QString &storedApplicationTitle()
{
    static QString title;
    return title;
}

QString withoutLastWord(const QString &text)
{
    const qsizetype blank = text.lastIndexOf(QLatin1Char(' '));
    return blank < 0 ? text : text.left(blank);
}
} // namespace

QString applicationTitleFor(const QString &name)
{
    QString title = withoutLastWord(name);
    while (title.size() > 40) {
        const QString shorter = withoutLastWord(title);
        if (shorter == title)
            break; // one long word: nothing left to remove
        title = shorter;
    }
    return title;
}

void setApplicationTitle()
{
    storedApplicationTitle() = applicationTitleFor(QString::fromLatin1(productName));
}

QString applicationTitle()
{
    const QString &title = storedApplicationTitle();
    return title.isEmpty() ? QString::fromLatin1(productName) : title;
}
