#pragma once

#include "platform/ProcessSnapshot.h"

#include <unordered_map>

// The process snapshot on /proc: processes in ascending ID order, so the first
// entry is the init process; zombies and kernel threads left out.
class ProcFsSnapshotSource : public ProcessSnapshotSource
{
public:
    explicit ProcFsSnapshotSource(const char *procRoot = "/proc");

    std::unique_ptr<ProcessSnapshot> takeSnapshot() override;
    std::optional<quint64> identityAtSnapshot(quint32 processId) const override;

private:
    const char *m_procRoot;
    std::unordered_map<quint32, quint64> m_startTimes;
};
