// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowTypes.h"

#include <QString>

#include <vector>

class WindowWalk;

// One task: its window's title and handle.
struct TaskSlot {
    QString Name;
    qint32 ID = 0;
};

// The tasks found by the latest walk, in Z order, topmost first; it holds as
// many as the desktop has.
class TaskTable
{
public:
    void reset() { m_slots.clear(); }
    void append(TaskSlot slot) { m_slots.push_back(std::move(slot)); }
    int count() const { return static_cast<int>(m_slots.size()); }
    // Slot `number`, counted from 0; a number past the tasks throws IndexFailure.
    const TaskSlot &at(int number) const;

private:
    std::vector<TaskSlot> m_slots;
};

// Visible and bordered: a candidate task, whatever its title.
bool isTaskWindow(WindowWalk &walk, WindowHandle window);

// Refills the table with the titled task windows other than `start` and
// `mainWindow`; returns how many were stored.
int enumTopWindows(WindowWalk &walk, TaskTable &table, WindowHandle start, WindowHandle mainWindow);
