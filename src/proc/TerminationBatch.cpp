// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "proc/TerminationBatch.h"

#include <algorithm>

namespace
{
// What the waits before the last one may take together: a killed process
// that the kernel holds up longer is left to exit on its own.
constexpr std::chrono::milliseconds settleAllowance{500};
} // namespace

TerminationBatch::TerminationBatch(ProcessControl &processes, WindowControl &windows)
    : m_processes(processes), m_windows(windows),
      m_batchSize(std::max<std::size_t>(1, processes.handlesToHold())),
      m_settleTimeLeft(settleAllowance)
{
}

void TerminationBatch::requestClose(qint32 windowId)
{
    const auto window = static_cast<WindowHandle>(windowId);
    m_windows.requestClose(window);
    m_closing.push_back(window);
}

std::unique_ptr<ProcessHandle> TerminationBatch::openListedProcess(qint32 processId,
                                                                   std::optional<quint64> identity)
{
    const auto id = static_cast<quint32>(processId);
    OpenedProcess opened = m_processes.open(id, identity);
    if (opened.outOfHandles && !m_ended.empty()) {
        settle();
        opened = m_processes.open(id, identity);
    }
    return std::move(opened.handle);
}

void TerminationBatch::release(std::unique_ptr<ProcessHandle> handle, bool ended)
{
    if (!handle || !ended)
        return;
    m_ended.push_back(std::move(handle));
    if (m_ended.size() >= m_batchSize)
        settle();
}

void TerminationBatch::settle()
{
    // The older half: killed longest ago, they have mostly exited by now,
    // while the newer ones go on exiting meanwhile.
    const std::size_t older = (m_ended.size() + 1) / 2;
    const auto start = std::chrono::steady_clock::now();
    waitForEnded(older, start + m_settleTimeLeft);
    m_settleTimeLeft -= std::min(m_settleTimeLeft, std::chrono::steady_clock::now() - start);
}

void TerminationBatch::waitForEnded(std::size_t count, ProcessControl::Deadline deadline)
{
    if (count == 0)
        return;
    const auto last = m_ended.begin() + static_cast<std::ptrdiff_t>(count);
    std::vector<ProcessHandle *> handles;
    handles.reserve(count);
    for (auto handle = m_ended.begin(); handle != last; ++handle)
        handles.push_back(handle->get());
    m_processes.waitUntilExited(handles, deadline);
    m_ended.erase(m_ended.begin(), last);
}

void TerminationBatch::waitForAll(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    waitForEnded(m_ended.size(), deadline);
    if (!m_closing.empty())
        m_windows.waitUntilClosed(m_closing, deadline);
    m_closing.clear();
}
