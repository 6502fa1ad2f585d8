// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string_view>

// The longest start of `text` of at most `maxBytes` that ends between two
// UTF-8 characters: names and titles that other programs give are cut with it.
inline std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    // Back off over continuation bytes (10xxxxxx) to the start of the cut character.
    for (int step = 0;
         step < 3 && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80; ++step)
        --end;
    return text.substr(0, end);
}
