// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <span>

// The columns of the main window's two lists, left to right. Column 0 shows a
// row's own text and each other column the sub-item of its number, so a
// column's place here is the number its cells are set and read by.
struct ListColumn {
    const char *header;
    int widthTwips; // as it starts; 1 keeps a column present but out of sight
    // The start-up steps that add it and set its width, which an error report names.
    int addStep, widthStep;
};

struct ListLayout {
    std::span<const ListColumn> columns;
    int sortKey; // the column the rows are sorted by
    int sortedStep, sortKeyStep;
};

// Where a row's fields stand. The running list lists a process's or window's
// name, its ID and whether it is a "Process" or a "Task"; the kill list keeps
// the ID first, as its stored entries do.
enum RunningColumn : int { NameColumn, IdColumn, TypeColumn };
enum KillListColumn : int { KillIdColumn, KillNameColumn, KillTypeColumn };

inline constexpr ListColumn runningColumns[] = {
    {"Running Processes/Tasks", 6000, 126, 134},
    {"ID", 1, 128, 136},
    {"Type", 1000, 130, 138},
};
inline constexpr ListColumn killListColumns[] = {
    {"ID", 1, 144, 150},
    {"Processes/Tasks To Kill", 3500, 146, 152},
    {"Type", 1000, 148, 154},
};
inline constexpr ListLayout runningLayout{runningColumns, NameColumn, 140, 142},
    killListLayout{killListColumns, KillNameColumn, 156, 158};
