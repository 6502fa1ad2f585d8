// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/store/StoreText.h"

#include "platform/linux/store/StoreValue.h"

namespace
{
struct Line {
    qsizetype start = 0;
    qsizetype end = 0; // before the line break
    qsizetype next = 0;
};

enum class Kind { Blank, Comment, Header, Pair, Other };

struct Parts {
    Kind kind = Kind::Other;
    QByteArrayView name = {}; // of a header or a pair's key
    qsizetype valueStart = 0;
    qsizetype valueEnd = 0;
};

template <typename Visit> void forEachLine(QByteArrayView bytes, Visit visit)
{
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        const qsizetype next = newline < 0 ? bytes.size() : newline + 1;
        qsizetype end = newline < 0 ? bytes.size() : newline;
        if (end > start && bytes[end - 1] == '\r')
            --end;
        visit(Line{start, end, next});
        start = next;
    }
}

Parts parse(QByteArrayView bytes, const Line &line)
{
    const QByteArrayView content = bytes.sliced(line.start, line.end - line.start);
    const QByteArrayView trimmed = trimBlanks(content);
    if (trimmed.isEmpty())
        return {Kind::Blank};
    if (trimmed.front() == ';' || trimmed.front() == '#')
        return {Kind::Comment};
    if (trimmed.front() == '[') {
        const qsizetype close = trimmed.indexOf(']');
        if (close > 0)
            return {Kind::Header, trimBlanks(trimmed.sliced(1, close - 1))};
    }
    const qsizetype equals = content.indexOf('=');
    if (equals < 0)
        return {Kind::Other};
    const QByteArrayView value = content.sliced(equals + 1);
    const QByteArrayView trimmedValue = trimBlanks(value);
    const qsizetype valueStart =
        line.start + equals + 1 + (trimmedValue.isEmpty() ? 0 : value.indexOf(trimmedValue));
    return {Kind::Pair, trimBlanks(content.first(equals)), valueStart,
            valueStart + trimmedValue.size()};
}

QByteArrayView lineBreakOf(QByteArrayView bytes, const Line &line)
{
    return bytes.sliced(line.end, line.next - line.end);
}

// A new line ends as its neighbour does, or as the file's first line when the
// neighbour has no break.
QByteArray lineBreakLike(QByteArrayView neighbour, QByteArrayView first)
{
    return (neighbour.isEmpty() ? first : neighbour).startsWith('\r') ? "\r\n" : "\n";
}

// What a last line without a complete break needs before a line can follow.
QByteArray completion(QByteArrayView lineBreak, const QByteArray &style)
{
    if (lineBreak.endsWith('\n'))
        return {};
    return lineBreak.isEmpty() ? style : "\n";
}
} // namespace

struct StoreText::Found {
    std::optional<Parts> pair;
    std::optional<Line> sectionLast; // the section's last line but blanks and comments
    QByteArrayView firstBreak;
    QByteArrayView lastBreak = "\n"; // as if an empty file ended in a complete line
    bool endsBlank = true;
};

StoreText::Found StoreText::find(QByteArrayView section, QByteArrayView key) const
{
    Found found;
    bool inSection = false;
    forEachLine(m_bytes, [&](const Line &line) {
        const Parts parts = parse(m_bytes, line);
        if (found.firstBreak.isEmpty())
            found.firstBreak = lineBreakOf(m_bytes, line);
        found.lastBreak = lineBreakOf(m_bytes, line);
        found.endsBlank = parts.kind == Kind::Blank;
        if (parts.kind == Kind::Header)
            inSection = parts.name == section;
        if (!inSection || parts.kind == Kind::Blank || parts.kind == Kind::Comment)
            return;
        found.sectionLast = line;
        if (parts.kind == Kind::Pair && parts.name == key)
            found.pair = parts;
    });
    return found;
}

std::optional<QString> StoreText::value(QStringView section, QStringView key) const
{
    const Found found = find(section.toUtf8(), key.toUtf8());
    if (!found.pair)
        return std::nullopt;
    return decodeStoreValue(QByteArrayView(m_bytes).sliced(
        found.pair->valueStart, found.pair->valueEnd - found.pair->valueStart));
}

QByteArray StoreText::withValue(QStringView section, QStringView key, QStringView text) const
{
    const QByteArray sectionName = section.toUtf8();
    const QByteArray keyName = key.toUtf8();
    const Found found = find(sectionName, keyName);
    QByteArray result = m_bytes;
    if (found.pair) {
        const qsizetype length = found.pair->valueEnd - found.pair->valueStart;
        if (decodeStoreValue(QByteArrayView(m_bytes).sliced(found.pair->valueStart, length)) ==
            text)
            return result;
        return result.replace(found.pair->valueStart, length, encodeStoreValue(text));
    }
    const QByteArray pair = keyName + '=' + encodeStoreValue(text);
    if (!found.sectionLast)
        return result + newSection(found, sectionName, pair);
    const QByteArrayView lineBreak = lineBreakOf(m_bytes, *found.sectionLast);
    const QByteArray style = lineBreakLike(lineBreak, found.firstBreak);
    return result.insert(found.sectionLast->next, completion(lineBreak, style) + pair + style);
}

QByteArray StoreText::newSection(const Found &found, const QByteArray &section,
                                 const QByteArray &pair) const
{
    const QByteArray style = lineBreakLike(found.firstBreak, {});
    QByteArray start = completion(found.lastBreak, style);
    if (!found.endsBlank)
        start += style; // a blank line between sections
    return start + '[' + section + ']' + style + pair + style;
}
