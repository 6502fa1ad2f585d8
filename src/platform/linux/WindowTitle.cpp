// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/WindowTitle.h"

#include "common/TextCut.h"
#include "platform/linux/Utf8Prefix.h"

namespace
{
constexpr char escape = '\x1b';

// A server reply cut at the fetch bound may end inside an escape sequence
// (ESC, intermediate bytes 0x20-0x2F, then a final byte); the decoder would
// reject the whole title for it.
QByteArrayView withoutOpenEscape(QByteArrayView bytes)
{
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] >= 0x20 && bytes[end - 1] <= 0x2f)
        --end;
    return end > 0 && bytes[end - 1] == escape ? bytes.first(end - 1) : bytes;
}
} // namespace

QString decodeTitle(QByteArrayView bytes, TitleEncoding encoding,
                    const CompoundTextDecoder &decodeCompound)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    switch (encoding) {
    case TitleEncoding::Utf8: {
        const std::string_view whole(bytes.data(), static_cast<std::size_t>(bytes.size()));
        const std::string_view kept = utf8Prefix(whole, titleByteLimit);
        return leftCharacters(QString::fromUtf8(kept.data(), static_cast<qsizetype>(kept.size())),
                              titleCharacterLimit);
    }
    case TitleEncoding::Latin1:
        return QString::fromLatin1(bytes.first(std::min(bytes.size(), titleCharacterLimit)));
    case TitleEncoding::CompoundText:
        bytes = withoutOpenEscape(bytes.first(std::min(bytes.size(), titleByteLimit)));
        if (!decodeCompound)
            return leftCharacters(QString::fromLatin1(bytes), titleCharacterLimit);
        return leftCharacters(decodeCompound(bytes.toByteArray()), titleCharacterLimit);
    }
    return {};
}
