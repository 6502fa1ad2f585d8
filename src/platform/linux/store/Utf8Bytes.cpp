// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/store/Utf8Bytes.h"

namespace
{
bool isContinuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed sequence at the start of `bytes`, 0 when it
// is not one. Overlong forms, surrogates and code points beyond U+10FFFF are
// not: their bytes are kept one by one instead.
qsizetype sequenceLength(const uchar *bytes, qsizetype available)
{
    const uchar lead = bytes[0];
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || available < length || bytes[1] < low || bytes[1] > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (!isContinuation(bytes[i]))
            return 0;
    return length;
}

char32_t codePoint(const uchar *bytes, qsizetype length)
{
    static constexpr uchar leadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t point = bytes[0] & leadMask[length];
    for (qsizetype i = 1; i < length; ++i)
        point = (point << 6) | (bytes[i] & 0x3F);
    return point;
}

void appendUtf8(QByteArray &bytes, char32_t point)
{
    if (point < 0x80) {
        bytes += char(point);
    } else if (point < 0x800) {
        bytes += char(0xC0 | (point >> 6));
        bytes += char(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        bytes += char(0xE0 | (point >> 12));
        bytes += char(0x80 | ((point >> 6) & 0x3F));
        bytes += char(0x80 | (point & 0x3F));
    } else {
        bytes += char(0xF0 | (point >> 18));
        bytes += char(0x80 | ((point >> 12) & 0x3F));
        bytes += char(0x80 | ((point >> 6) & 0x3F));
        bytes += char(0x80 | (point & 0x3F));
    }
}
} // namespace

QString decodeUtf8KeepingBytes(QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    QString text;
    text.reserve(size);
    for (qsizetype i = 0; i < size;) {
        const qsizetype length = sequenceLength(data + i, size - i);
        if (length == 0) {
            text += QChar(char16_t(0xDC00 + data[i]));
            ++i;
            continue;
        }
        const char32_t point = codePoint(data + i, length);
        if (point < 0x10000) {
            text += QChar(char16_t(point));
        } else {
            text += QChar(QChar::highSurrogate(point));
            text += QChar(QChar::lowSurrogate(point));
        }
        i += length;
    }
    return text;
}

std::optional<QByteArray> encodeUtf8KeepingBytes(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (!QChar::isSurrogate(unit)) {
            appendUtf8(bytes, unit);
        } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
                   text[i + 1].isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else if (isKeptByte(unit)) {
            bytes += char(unit - 0xDC00);
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}
