// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The process snapshot on the system's own snapshot functions, in their ANSI form.
#undef UNICODE
#undef _UNICODE
// windows.h must come first: tlhelp32.h relies on its types.
#include <windows.h>

#include <tlhelp32.h>

#include "platform/win32/Handles_win32.h"
#include "platform/win32/ProcessIdentity_win32.h"
#include "platform/win32/Services_win32.h"

#include <cstring>

namespace
{
class ToolhelpSnapshot : public ProcessSnapshot
{
public:
    ToolhelpSnapshot() : m_taken(now()), m_handle(CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0)) {}
    ~ToolhelpSnapshot() override
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    ToolhelpSnapshot(const ToolhelpSnapshot &) = delete;
    ToolhelpSnapshot &operator=(const ToolhelpSnapshot &) = delete;

    bool first(ProcessEntry &entry) override
    {
        m_record.dwSize = sizeof m_record;
        return copy(Process32First(m_handle, &m_record), entry);
    }
    bool next(ProcessEntry &entry) override
    {
        return copy(Process32Next(m_handle, &m_record), entry);
    }

private:
    bool copy(BOOL found, ProcessEntry &entry)
    {
        if (!found)
            return false;
        static_assert(sizeof m_record.szExeFile == sizeof entry.exeFile);
        entry.processId = m_record.th32ProcessID;
        std::memcpy(entry.exeFile, m_record.szExeFile, sizeof entry.exeFile);
        // The time is asked for after the snapshot: one created since then
        // took over the ID of the process listed, and gets no identity. A
        // process we may not query is one we could not end either.
        const auto created = creationTime(entry.processId);
        entry.identity = created && *created <= m_taken ? created : std::nullopt;
        return true;
    }

    static quint64 now()
    {
        FILETIME time{};
        GetSystemTimeAsFileTime(&time);
        return fileTimeValue(time);
    }

    quint64 m_taken;
    HANDLE m_handle;
    PROCESSENTRY32 m_record{};
};

class ToolhelpSnapshotSource : public ProcessSnapshotSource
{
public:
    std::unique_ptr<ProcessSnapshot> takeSnapshot() override
    {
        return std::make_unique<ToolhelpSnapshot>();
    }
};
} // namespace

std::unique_ptr<ProcessSnapshotSource> createToolhelpSnapshotSource()
{
    return std::make_unique<ToolhelpSnapshotSource>();
}
