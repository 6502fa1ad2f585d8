// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/win32/ProcessIdentity_win32.h"

#include "platform/win32/Handles_win32.h"

std::optional<quint64> creationTime(HANDLE process)
{
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return std::nullopt;
    return fileTimeValue(created);
}

std::optional<quint64> creationTime(quint32 processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return std::nullopt;
    const auto created = creationTime(process);
    CloseHandle(process);
    return created;
}
