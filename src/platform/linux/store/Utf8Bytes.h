// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// UTF-8 that keeps every byte of a file: a byte that is not part of valid
// UTF-8 reads as the lone surrogate U+DC80..U+DCFF and is written back as that
// same byte.

QString decodeUtf8KeepingBytes(QByteArrayView bytes);

// None when the text holds a lone surrogate outside U+DC80..U+DCFF, which has
// no bytes of its own.
std::optional<QByteArray> encodeUtf8KeepingBytes(QStringView text);

// Whether a UTF-16 unit stands for one byte that was not UTF-8.
inline bool isKeptByte(char16_t unit)
{
    return unit >= 0xDC80 && unit <= 0xDCFF;
}
