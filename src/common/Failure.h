// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <exception>

// A failed operation inside a reporting handler. Carries the description that
// the error report box shows; it may be empty.
class Failure : public std::exception
{
public:
    explicit Failure(QString description)
        : m_description(std::move(description)), m_utf8(m_description.toUtf8())
    {
    }

    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};

// A list position, table slot or similar index outside its valid range.
class IndexFailure : public Failure
{
public:
    using Failure::Failure;
};
