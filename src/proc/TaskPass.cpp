#include "proc/TaskPass.h"

#include "common/Failure.h"
#include "platform/WindowWalk.h"

namespace
{
constexpr quint32 taskStyle = WindowWalk::styleVisible | WindowWalk::styleBorder;
} // namespace

void TaskTable::reset()
{
    m_slots.fill(TaskSlot{});
}

TaskSlot &TaskTable::at(int number)
{
    if (number < 0 || number >= slotCount)
        throw IndexFailure(QStringLiteral("Subscript out of range: task slot %1 of 0 to %2")
                               .arg(number)
                               .arg(slotCount - 1));
    return m_slots[static_cast<size_t>(number)];
}

const TaskSlot &TaskTable::at(int number) const
{
    return const_cast<TaskTable *>(this)->at(number);
}

bool isTaskWindow(WindowWalk &walk, WindowHandle window)
{
    return (walk.style(window) & taskStyle) == taskStyle;
}

qint16 enumTopWindows(WindowWalk &walk, TaskTable &table, WindowHandle start,
                      WindowHandle mainWindow)
{
    table.reset();
    qint16 count = 0;
    for (WindowHandle window = walk.first(start); window != 0; window = walk.next(window)) {
        if (window == start || !isTaskWindow(walk, window))
            continue;
        const int length = walk.titleLength(window);
        const QString title = walk.title(window, length + 1);
        if (title.isEmpty() || window == mainWindow)
            continue;
        TaskSlot &slot = table.at(count);
        slot.Name = title;
        slot.ID = windowHandleAsSigned(window);
        ++count;
    }
    return count;
}
