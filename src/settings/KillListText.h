// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// The kill list's stored text: each entry is a row's ID and its name, written
// as ID||MySeparator1||name||MySeparator2||; the row's type is not kept.
namespace KillListText
{
QString entry(const QString &name, const QString &type);

// The entries' pieces, in order, empty ones included.
QStringList pieces(const QString &text);

// A piece's fields: the ID first, then the name when the piece has one.
QStringList fields(const QString &piece);
} // namespace KillListText
