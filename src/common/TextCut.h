// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// `text` kept to its first, or last, `limit` UTF-16 units, a surrogate pair
// whole or not at all.
QString leftCharacters(const QString &text, qsizetype limit);
QString rightCharacters(const QString &text, qsizetype limit);
