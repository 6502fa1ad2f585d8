// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Window titles as other programs set them: the first byte picks the property
// type, the rest are the property's bytes. The title must stay within its
// limit, hold whole surrogate pairs only, and be the start of what the whole
// property decodes to.
#include "platform/linux/WindowTitle.h"

#include <cstdint>
#include <cstdlib>

namespace
{
void require(bool holds)
{
    if (!holds)
        std::abort();
}

// Whether `title` is the start of `whole`, less at most a pair cut at the limit.
bool isStartOf(const QString &title, const QString &whole)
{
    return whole.startsWith(title) &&
           (title.size() == whole.size() || title.size() >= titleCharacterLimit - 1);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const auto encoding = static_cast<TitleEncoding>(data[0] % 3);
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1),
                               static_cast<qsizetype>(size - 1));
    // Stands in for Xlib, which may give back more characters than bytes.
    const CompoundTextDecoder widening = [](const QByteArray &raw) {
        return QString::fromUtf8(raw) + QString::fromUtf8(raw);
    };
    for (const CompoundTextDecoder &decoder : {CompoundTextDecoder(), widening}) {
        const QString title = decodeTitle(bytes, encoding, decoder);
        require(title.size() <= titleCharacterLimit);
        require(title.isValidUtf16());
        const QByteArrayView text =
            bytes.first(bytes.indexOf('\0') < 0 ? bytes.size() : bytes.indexOf('\0'));
        if (encoding == TitleEncoding::Utf8)
            require(isStartOf(title, QString::fromUtf8(text)));
        else if (encoding == TitleEncoding::Latin1)
            require(isStartOf(title, QString::fromLatin1(text)));
    }
    return 0;
}
