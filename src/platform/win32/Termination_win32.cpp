// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Process termination on kernel32 and close requests on user32, in their ANSI form.
#undef UNICODE
#undef _UNICODE
#include <windows.h>

#include "platform/win32/Handles_win32.h"
#include "platform/win32/ProcessIdentity_win32.h"
#include "platform/win32/Services_win32.h"

#include <algorithm>

namespace
{
// How often the wait for closing windows looks again.
constexpr DWORD closePollMs = 10;

class Win32ProcessHandle : public ProcessHandle
{
public:
    explicit Win32ProcessHandle(HANDLE handle) : m_handle(handle) {}
    ~Win32ProcessHandle() override { CloseHandle(m_handle); }
    Win32ProcessHandle(const Win32ProcessHandle &) = delete;
    Win32ProcessHandle &operator=(const Win32ProcessHandle &) = delete;

    bool terminate(quint32 exitCode) override { return TerminateProcess(m_handle, exitCode); }
    HANDLE handle() const { return m_handle; }

private:
    HANDLE m_handle;
};

bool hasExited(HANDLE process)
{
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

class Win32ProcessControl : public ProcessControl
{
public:
    OpenedProcess open(quint32 processId, std::optional<quint64> identity) override
    {
        if (!identity)
            return {};
        HANDLE handle = OpenProcess(
            PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
        if (!handle) {
            const DWORD error = GetLastError();
            return {nullptr, error == ERROR_NO_SYSTEM_RESOURCES || error == ERROR_NOT_ENOUGH_QUOTA};
        }
        auto opened = std::make_unique<Win32ProcessHandle>(handle);
        // An ID reused since the snapshot names another process; one that has
        // exited is gone whatever its ID now names.
        if (creationTime(handle) != identity || hasExited(handle))
            return {};
        return {std::move(opened)};
    }

    // The system's handle table is far larger; the waits take 64 at a time anyway.
    std::size_t handlesToHold() const override { return 1024; }

    void waitUntilExited(const std::vector<ProcessHandle *> &handles, Deadline deadline) override
    {
        std::vector<HANDLE> waiting;
        for (ProcessHandle *handle : handles)
            if (const auto *own = dynamic_cast<Win32ProcessHandle *>(handle))
                waiting.push_back(own->handle());
        // The system waits for at most 64 objects at once.
        for (size_t first = 0; first < waiting.size(); first += MAXIMUM_WAIT_OBJECTS) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return;
            const auto count =
                static_cast<DWORD>(std::min<size_t>(MAXIMUM_WAIT_OBJECTS, waiting.size() - first));
            WaitForMultipleObjects(count, waiting.data() + first, TRUE,
                                   static_cast<DWORD>(left.count()));
        }
    }
};

class User32WindowControl : public WindowControl
{
public:
    // Sent without waiting for the reply: a window that is busy or hung holds
    // up no pass, and the one wait below covers every window asked.
    void requestClose(WindowHandle window) override
    {
        SendNotifyMessageA(asHwnd(window), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    void waitUntilClosed(const std::vector<WindowHandle> &windows, Deadline deadline) override
    {
        const auto closed = [](WindowHandle window) {
            return !IsWindow(asHwnd(window)) || !IsWindowVisible(asHwnd(window));
        };
        while (!std::all_of(windows.begin(), windows.end(), closed) &&
               std::chrono::steady_clock::now() < deadline)
            Sleep(closePollMs);
    }
};
} // namespace

std::unique_ptr<ProcessControl> createKernel32ProcessControl()
{
    return std::make_unique<Win32ProcessControl>();
}

std::unique_ptr<WindowControl> createUser32WindowControl()
{
    return std::make_unique<User32WindowControl>();
}
