// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/LeadingAt.h"

QString withLeadingAtUndoubled(QString stored)
{
    if (stored.startsWith(QStringLiteral("@@")))
        stored.remove(0, 1);
    return stored;
}

QString withLeadingAtDoubled(QString text)
{
    if (text.startsWith(QStringLiteral("@@")))
        text.prepend(u'@');
    return text;
}
