// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ProcessControl.h"
#include "platform/WindowControl.h"

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

// What one kill pass asks of processes and windows. The processes it ended
// and the windows it asked to close are waited for, so that the refresh after
// the pass no longer lists them. Ended processes are waited for in batches,
// and their handles then closed, so that a pass over many thousands of
// processes holds no more handles than the system allows.
class TerminationBatch
{
public:
    TerminationBatch(ProcessControl &processes, WindowControl &windows);

    // Asks a task's window, given by its listed ID, to close.
    void requestClose(qint32 windowId);
    // Opens the process listed under the ID with `identity`, as its row
    // keeps it; null when it has gone, the ID now belongs to another process,
    // or there is no identity to tell.
    std::unique_ptr<ProcessHandle> openListedProcess(qint32 processId,
                                                     std::optional<quint64> identity);
    // Closes a handle; that of a process just ended is kept for the wait.
    void release(std::unique_ptr<ProcessHandle> handle, bool ended);
    // Waits until the ended processes have exited and the windows closed,
    // for at most `limit` in all.
    void waitForAll(std::chrono::milliseconds limit);

private:
    // Waits for the older half of the ended processes held, within what is
    // left of the pass's allowance, and closes their handles.
    void settle();
    // Waits for the `count` ended processes held longest, then closes their handles.
    void waitForEnded(std::size_t count, ProcessControl::Deadline deadline);

    ProcessControl &m_processes;
    WindowControl &m_windows;
    std::vector<std::unique_ptr<ProcessHandle>> m_ended;
    std::vector<WindowHandle> m_closing;
    std::size_t m_batchSize;
    std::chrono::steady_clock::duration m_settleTimeLeft;
};
