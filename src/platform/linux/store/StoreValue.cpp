// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/store/StoreValue.h"

#include "common/LeadingAt.h"
#include "platform/linux/store/Utf8Bytes.h"

#include <optional>

namespace
{
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int octalDigit(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

char16_t namedEscape(char c)
{
    switch (c) {
    case 'a':
        return u'\a';
    case 'b':
        return u'\b';
    case 'f':
        return u'\f';
    case 'n':
        return u'\n';
    case 'r':
        return u'\r';
    case 't':
        return u'\t';
    case 'v':
        return u'\v';
    case '\\':
    case '"':
    case '\'':
    case '?':
        return char16_t(c);
    default:
        return 0;
    }
}

// Appends the number in up to `most` digits of `base` at `at`; how many digits it took.
qsizetype appendNumber(QByteArrayView value, qsizetype at, int base, int most, QString &text)
{
    const auto digit = base == 16 ? hexDigit : octalDigit;
    char16_t unit = 0;
    qsizetype taken = 0;
    for (; taken < most && at + taken < value.size(); ++taken) {
        const int d = digit(value[at + taken]);
        if (d < 0)
            break;
        unit = char16_t(unit * base + d);
    }
    if (taken > 0)
        text += QChar(unit);
    return taken;
}

// Appends what the backslash at `at` stands for; where the text goes on.
qsizetype appendEscape(QByteArrayView value, qsizetype at, QString &text)
{
    const char c = at + 1 < value.size() ? value[at + 1] : '\0';
    if (const char16_t named = namedEscape(c)) {
        text += QChar(named);
        return at + 2;
    }
    if (c == 'x') {
        if (const qsizetype digits = appendNumber(value, at + 2, 16, 4, text))
            return at + 2 + digits;
    } else if (const qsizetype digits = appendNumber(value, at + 1, 8, 3, text)) {
        return at + 1 + digits;
    }
    text += u'\\';
    return at + 1;
}

// The text of a value that is one quoted string, none for any other value.
std::optional<QString> unquote(QByteArrayView value)
{
    QString text;
    qsizetype runStart = 1;
    for (qsizetype i = 1; i < value.size();) {
        const char c = value[i];
        if (c != '"' && c != '\\') {
            ++i;
            continue;
        }
        text += decodeUtf8KeepingBytes(value.sliced(runStart, i - runStart));
        if (c == '"')
            return i + 1 == value.size() ? std::optional(text) : std::nullopt;
        i = appendEscape(value, i, text);
        runStart = i;
    }
    return std::nullopt;
}

QString plainText(QByteArrayView value)
{
    if (!value.contains('\\'))
        return decodeUtf8KeepingBytes(value);
    QByteArray bytes;
    bytes.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const bool escape = value[i] == '\\' && i + 1 < value.size() &&
                            (value[i + 1] == '\\' || value[i + 1] == '"');
        bytes += value[escape ? ++i : i];
    }
    return decodeUtf8KeepingBytes(bytes);
}

void appendHexEscape(QString &escaped, char16_t unit)
{
    escaped += QStringLiteral("\\x%1").arg(uint(unit), 4, 16, QLatin1Char('0'));
}

// Kept bytes go in raw unless `escapeKeptBytes`: next to each other they could
// make up a UTF-8 character, which would read back as that.
QByteArray quote(QStringView text, bool escapeKeptBytes)
{
    static const QString named = QStringLiteral("abtnvfr");
    QString escaped = QStringLiteral("\"");
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool pair =
            QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (unit == u'\\' || unit == u'"')
            escaped.append(u'\\').append(QChar(unit));
        else if (unit >= u'\a' && unit <= u'\r')
            escaped.append(u'\\').append(named[unit - u'\a']);
        else if (unit < 0x20 ||
                 (QChar::isSurrogate(unit) && !pair && (escapeKeptBytes || !isKeptByte(unit))))
            appendHexEscape(escaped, unit);
        else
            escaped += QChar(unit);
        if (pair)
            escaped += text[++i];
    }
    escaped += u'"';
    return encodeUtf8KeepingBytes(escaped).value_or(QByteArray());
}
} // namespace

QByteArrayView trimBlanks(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && isBlank(bytes.front()))
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && isBlank(bytes.back()))
        bytes.chop(1);
    return bytes;
}

QString decodeStoreValue(QByteArrayView value)
{
    value = trimBlanks(value);
    std::optional<QString> text;
    if (value.startsWith('"'))
        text = unquote(value);
    if (!text)
        text = plainText(value);
    return withLeadingAtUndoubled(std::move(*text));
}

QByteArray encodeStoreValue(QStringView text)
{
    const QString stored = withLeadingAtDoubled(text.toString());
    if (!stored.contains(u'\n') && !stored.contains(u'\r')) {
        const std::optional<QByteArray> plain = encodeUtf8KeepingBytes(stored);
        if (plain && decodeStoreValue(*plain) == text)
            return *plain;
    }
    QByteArray quoted = quote(stored, false);
    if (decodeStoreValue(quoted) == text)
        return quoted;
    return quote(stored, true);
}
