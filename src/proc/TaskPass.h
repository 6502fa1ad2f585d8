#pragma once

#include "platform/WindowTypes.h"

#include <QString>

#include <array>

class WindowWalk;

// One slot of the task table; an empty name marks a free slot.
struct TaskSlot {
    QString Name;
    qint32 ID = 0;
};

// The tasks found by the latest walk, in Z order, topmost first.
class TaskTable
{
public:
    static constexpr int slotCount = 1001;

    void reset();
    // Slot `number`; a number outside 0..1000 throws IndexFailure.
    TaskSlot &at(int number);
    const TaskSlot &at(int number) const;

private:
    std::array<TaskSlot, slotCount> m_slots;
};

// Visible and bordered: a candidate task, whatever its title.
bool isTaskWindow(WindowWalk &walk, WindowHandle window);

// Refills the table with the titled task windows other than `start` and
// `mainWindow`; returns how many were stored. A task beyond the table's last
// slot throws IndexFailure, with the ones before it stored.
qint16 enumTopWindows(WindowWalk &walk, TaskTable &table, WindowHandle start,
                      WindowHandle mainWindow);
