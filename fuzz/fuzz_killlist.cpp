// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The kill list's stored text: what decodes, encodes to a text that decodes
// the same.
#include "FuzzText.h"
#include "settings/KillListText.h"

#include <cstdlib>
#include <utility>
#include <vector>

namespace
{
using Entries = std::vector<std::pair<QString, QString>>;

// As the restore reads it: empty pieces skipped, a missing type read as empty.
Entries decode(const QString &text)
{
    Entries entries;
    for (const QString &piece : KillListText::pieces(text)) {
        if (piece.isEmpty())
            continue;
        const QStringList fields = KillListText::fields(piece);
        entries.emplace_back(fields.value(0), fields.value(1));
    }
    return entries;
}

QString encode(const Entries &entries)
{
    QString text;
    for (const auto &[name, type] : entries)
        text += KillListText::entry(name, type);
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Entries once = decode(fuzzText(data, size));
    if (decode(encode(once)) != once)
        std::abort();
    return 0;
}
