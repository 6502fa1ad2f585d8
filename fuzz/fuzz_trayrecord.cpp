// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The notify record's text fields: whatever the text, the field ends with a
// zero byte, nothing outside it changes, and it holds whole characters from
// the start of the text.
#include "FuzzText.h"
#include "platform/NotifyIcon.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using R = NotifyIconRecord;
    if (size == 0)
        return 0;
    const int fields[][2] = {
        {R::szTip, R::tipSize}, {R::szInfo, R::infoSize}, {R::szInfoTitle, R::infoTitleSize}};
    const auto [offset, fieldSize] = fields[data[0] % 3];
    const QString text = fuzzText(data + 1, size - 1);

    R record;
    record.bytes.fill(0xA5);
    record.setText(offset, fieldSize, text);
    for (int i = 0; i < R::size; ++i)
        if ((i < offset || i >= offset + fieldSize) && record.bytes[i] != 0xA5)
            std::abort();
    if (record.bytes[offset + fieldSize - 1] != 0)
        std::abort();
    // Whole characters: the field is a prefix of the whole text's encoding
    // that does not end inside a multi-byte sequence.
    const auto *field = reinterpret_cast<const char *>(record.bytes.data() + offset);
    const QByteArray held(field, static_cast<qsizetype>(qstrnlen(field, fieldSize)));
    const QByteArray whole = text.toLocal8Bit();
    if (!whole.startsWith(held))
        std::abort();
    if (whole.size() > held.size() &&
        (static_cast<std::uint8_t>(whole[held.size()]) & 0xC0) == 0x80)
        std::abort();
    return 0;
}
