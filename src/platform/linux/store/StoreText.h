// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// A settings file kept as its bytes: "[Section]" headers, "key=value" lines
// (values as in StoreValue.h), comments (";" or "#" as a line's first
// non-blank character) and any other lines, which all stay as they are.
// Names match exactly, case included. When a key is there twice the last one
// counts; a section that is there twice is one section. The section and key
// names asked for are plain: no line breaks, "=", "]" or blanks at their ends.
class StoreText
{
public:
    explicit StoreText(QByteArray bytes) : m_bytes(std::move(bytes)) {}

    std::optional<QString> value(QStringView section, QStringView key) const;

    // The bytes with `key` in `section` holding `text`. Only the key's line
    // changes, and not even that one when it already reads as `text`; a new
    // key goes after the last line of its section, a new section at the end.
    QByteArray withValue(QStringView section, QStringView key, QStringView text) const;

    const QByteArray &bytes() const { return m_bytes; }

private:
    struct Found;
    Found find(QByteArrayView section, QByteArrayView key) const;
    QByteArray newSection(const Found &found, const QByteArray &section,
                          const QByteArray &pair) const;

    QByteArray m_bytes;
};
