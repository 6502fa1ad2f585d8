// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

// Where the process pass writes its rows: the running list, as the main
// window hands it over.
class RunningList
{
public:
    virtual ~RunningList() = default;
    virtual void removeAllRows() = 0;
    // One row: the display name, the ID as decimal text and the type. The
    // row keeps `identity`, unseen, for ending the process it lists.
    virtual void addEntry(const QString &name, const QString &id, const QString &type,
                          std::optional<quint64> identity) = 0;
};
