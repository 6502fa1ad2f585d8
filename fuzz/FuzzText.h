// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// Outside bytes as text two ways: UTF-8 as a file would hold it, and raw
// UTF-16, which also reaches lone surrogates.
inline QString fuzzText(const std::uint8_t *data, std::size_t size)
{
    if (size > 0 && data[0] % 2 == 1)
        return QString(reinterpret_cast<const QChar *>(data + 1),
                       static_cast<qsizetype>((size - 1) / 2));
    return QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}
