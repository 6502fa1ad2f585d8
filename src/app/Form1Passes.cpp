// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The process and task passes, writing into the running list.
#include "app/Form1.h"

#include "app/ListColumns.h"
#include "app/ListView.h"
#include "common/ErrorReport.h"
#include "common/StepGuard.h"
#include "platform/PlatformServices.h"

#include <optional>

void Form1::loadProcesses()
{
    ::loadProcesses(*ListView1->listModel(), *m_platform.processSnapshots, m_processRowTexts);
}

void Form1::loadWindows()
{
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("loadWindows")));
    guard.step(100, [&] {
        enumTopWindows(*m_platform.windowWalk, taskTable, ownWindow(), mainWindowHandle);
    });
    int number = 0;
    guard.loop(
        102, [&] { return number < taskTable.count(); }, 112,
        [&] { return ++number < taskTable.count(); },
        [&] {
            // A copy: a walk run from inside a box below would refill the table.
            const TaskSlot slot = taskTable.at(number);
            if (!guard.test(104, [&] { return !slot.Name.isEmpty(); }))
                return;
            std::optional<ListItem> row;
            if (!guard.step(106, [&] { row = ListView1->addRow(slot.Name); }))
                return; // no other row gets this slot's ID or type
            guard.step(108, [&] { row->setSubItem(IdColumn, QString::number(slot.ID)); });
            guard.step(110, [&] { row->setSubItem(TypeColumn, QStringLiteral("Task")); });
        });
}
