// The process snapshot on the system's own snapshot functions, in their ANSI form.
#undef UNICODE
#undef _UNICODE
// windows.h must come first: tlhelp32.h relies on its types.
#include <windows.h>

#include <tlhelp32.h>

#include "platform/win32/Services_win32.h"

#include <cstring>

namespace
{
class ToolhelpSnapshot : public ProcessSnapshot
{
public:
    ToolhelpSnapshot() : m_handle(CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0)) {}
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
        return true;
    }

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
    // Termination opens the process by its ID, as the system does.
    std::optional<quint64> identityAtSnapshot(quint32) const override { return std::nullopt; }
};
} // namespace

std::unique_ptr<ProcessSnapshotSource> createToolhelpSnapshotSource()
{
    return std::make_unique<ToolhelpSnapshotSource>();
}
