// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <optional>
#include <string>
#include <vector>

// The IDs of the processes under the /proc at `procFd`, ascending; none
// when it cannot be listed.
std::optional<std::vector<quint32>> listProcessIds(int procFd, std::size_t expected);

// What changes whenever a task, process or thread, starts in the namespace
// that the /proc at `procFd` shows: the number of tasks, the ID last given
// and the forks made on the machine. While it stays the same, and less time has passed than the IDs
// take to go round, no process has appeared there. Empty where that cannot
// be known: a /proc of another namespace, or one that hides other users'
// processes, which can appear there as they change users.
std::string taskStamp(int procFd);
