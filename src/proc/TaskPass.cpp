#include "proc/TaskPass.h"

#include "app/ListView.h"
#include "app/MainWindowHandle.h"
#include "common/ErrorReport.h"
#include "common/Failure.h"
#include "common/StepGuard.h"
#include "platform/WindowWalk.h"

#include <optional>

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

qint16 enumTopWindows(WindowWalk &walk, TaskTable &table, WindowHandle start)
{
    table.reset();
    qint16 count = 0;
    for (WindowHandle window = walk.first(start); window != 0; window = walk.next(window)) {
        if (window == start || !isTaskWindow(walk, window))
            continue;
        const int length = walk.titleLength(window);
        const QString title = walk.title(window, length + 1);
        if (title.isEmpty() || window == mainWindowHandle)
            continue;
        TaskSlot &slot = table.at(count);
        slot.Name = title;
        slot.ID = windowHandleAsSigned(window);
        ++count;
    }
    return count;
}

void loadWindows(ListView &runningList, WindowWalk &walk, TaskTable &table, WindowHandle start)
{
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("loadWindows")));
    guard.step(100, [&] { enumTopWindows(walk, table, start); });
    int number = 0;
    guard.loop(
        102, [] { return true; }, 112, [&] { return ++number < TaskTable::slotCount; },
        [&] {
            const TaskSlot &slot = table.at(number);
            if (!guard.test(104, [&] { return !slot.Name.isEmpty(); }))
                return;
            std::optional<ListItem> row;
            if (!guard.step(106, [&] { row = runningList.addRow(slot.Name); }))
                return; // no other row gets this slot's ID or type
            guard.step(108, [&] { row->setSubItem(1, QString::number(slot.ID)); });
            guard.step(110, [&] { row->setSubItem(2, QStringLiteral("Task")); });
        });
}
