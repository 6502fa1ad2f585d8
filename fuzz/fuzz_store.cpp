// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings file: any bytes parse; a written value reads back as written,
// no other line changes, every other key reads as before and a second write
// of it changes nothing.
#include "platform/linux/store/StoreText.h"
#include "platform/linux/store/StoreValue.h"
#include "platform/linux/store/Utf8Bytes.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace
{
struct Name {
    QString section;
    QString key;
};

const std::array<Name, 6> names{{{"Trelvanix", "Processes"},
                                 {"Trelvanix", "Text1"},
                                 {"Trelvanix", "Check1"},
                                 {"Other", "Processes"},
                                 {"Other", "k"},
                                 {"", "k"}}};

// The first byte picks the key and how the text is read, the second how many
// of the following bytes are the text; the rest is the file.
QString takeText(const std::uint8_t *&data, std::size_t &size)
{
    const std::size_t length = std::min<std::size_t>(data[1], size - 2);
    const auto *bytes = reinterpret_cast<const char *>(data + 2);
    QString text = data[0] & 0x80
                       ? QString(reinterpret_cast<const QChar *>(bytes), qsizetype(length / 2))
                       : decodeUtf8KeepingBytes(QByteArrayView(bytes, qsizetype(length)));
    data += 2 + length;
    size -= 2 + length;
    return text;
}

void check(bool holds)
{
    if (!holds)
        std::abort();
}

// Whether `after` differs from `before` within one line of it at most.
bool changesOneLine(const QByteArray &before, const QByteArray &after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return !before.sliced(prefix, before.size() - prefix - suffix).contains('\n');
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const Name &written = names[data[0] % names.size()];
    const QString text = takeText(data, size);
    const StoreText before(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    check(decodeStoreValue(encodeStoreValue(text)) == text);
    const QByteArray bytes = before.withValue(written.section, written.key, text);
    const StoreText after(bytes);
    check(after.value(written.section, written.key) == text);
    check(changesOneLine(before.bytes(), bytes));
    if (before.value(written.section, written.key) == text)
        check(bytes == before.bytes());
    check(after.withValue(written.section, written.key, text) == bytes);
    for (const Name &other : names)
        if (other.section != written.section || other.key != written.key)
            check(after.value(other.section, other.key) == before.value(other.section, other.key));
    return 0;
}
