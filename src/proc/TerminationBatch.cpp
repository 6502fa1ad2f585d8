#include "proc/TerminationBatch.h"

#include "platform/ProcessSnapshot.h"

TerminationBatch::TerminationBatch(ProcessControl &processes, WindowControl &windows,
                                   const ProcessSnapshotSource &snapshots)
    : m_processes(processes), m_windows(windows), m_snapshots(snapshots)
{
}

void TerminationBatch::requestClose(qint32 windowId)
{
    const auto window = static_cast<WindowHandle>(windowId);
    m_windows.requestClose(window);
    m_closing.push_back(window);
}

std::unique_ptr<ProcessHandle> TerminationBatch::openListedProcess(qint32 processId)
{
    const auto id = static_cast<quint32>(processId);
    return m_processes.open(id, m_snapshots.identityAtSnapshot(id));
}

void TerminationBatch::release(std::unique_ptr<ProcessHandle> handle, bool ended)
{
    if (handle && ended)
        m_ended.push_back(std::move(handle));
}

void TerminationBatch::waitForAll(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    if (!m_ended.empty()) {
        std::vector<ProcessHandle *> handles;
        for (const auto &handle : m_ended)
            handles.push_back(handle.get());
        m_processes.waitUntilExited(handles, deadline);
    }
    if (!m_closing.empty())
        m_windows.waitUntilClosed(m_closing, deadline);
    m_ended.clear();
    m_closing.clear();
}
