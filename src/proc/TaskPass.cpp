// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "proc/TaskPass.h"

#include "common/Failure.h"
#include "platform/OwnProgram.h"
#include "platform/WindowWalk.h"

namespace
{
constexpr quint32 taskStyle = WindowWalk::styleVisible | WindowWalk::styleBorder;
} // namespace

const TaskSlot &TaskTable::at(int number) const
{
    if (number < 0 || number >= count())
        throw IndexFailure(QStringLiteral("Subscript out of range: task slot %1 of %2 tasks")
                               .arg(number)
                               .arg(count()));
    return m_slots[static_cast<size_t>(number)];
}

bool isTaskWindow(WindowWalk &walk, WindowHandle window)
{
    return (walk.style(window) & taskStyle) == taskStyle;
}

int enumTopWindows(WindowWalk &walk, TaskTable &table, WindowHandle start, WindowHandle mainWindow)
{
    table.reset();
    OwnProgram own({start, mainWindow});
    for (WindowHandle window = walk.first(start); window != 0; window = walk.next(window)) {
        if (own.owns(OwnProgram::Seen::window(window)) || !isTaskWindow(walk, window))
            continue;
        const int length = walk.titleLength(window);
        const QString title = walk.title(window, length + 1);
        if (title.isEmpty())
            continue;
        table.append({title, windowHandleAsSigned(window)});
    }
    return table.count();
}
