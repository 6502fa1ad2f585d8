// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/ListView.h"

#include <QStringList>

#include <memory>

// A list set up as the main window sets up its running list.
inline std::unique_ptr<ListView> makeRunningList()
{
    auto list = std::make_unique<ListView>();
    for (const char *header : {"Running Processes/Tasks", "ID", "Type"})
        list->addColumn(QString::fromLatin1(header));
    list->setCheckBoxes(true);
    list->setSorted(true);
    list->setSortKey(0);
    return list;
}

// The names of the checked rows, in list order.
inline QStringList checkedNames(const ListView *list)
{
    QStringList names;
    for (int position = 1; position <= list->count(); ++position)
        if (list->isChecked(position))
            names.append(list->text(position));
    return names;
}
