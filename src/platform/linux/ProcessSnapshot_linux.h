#pragma once

#include "platform/ProcessSnapshot.h"

#include <string>
#include <unordered_map>

// The process snapshot on /proc: processes in ascending ID order, after a
// first entry that stands for the system (the init process, or a stand-in
// where it is hidden); zombies and kernel threads left out.
class ProcFsSnapshotSource : public ProcessSnapshotSource
{
public:
    explicit ProcFsSnapshotSource(const char *procRoot = "/proc");

    std::unique_ptr<ProcessSnapshot> takeSnapshot() override;

    // A process's name as the latest snapshot found it. Reading the name is
    // the dearest part of a scan; it is read again only when the process is
    // new or its command name changed (as it does on exec). A command name cut
    // to 15 characters may stay the same across an exec, so the executable's
    // link is then compared as well.
    struct KnownName {
        quint64 startTime;
        std::string comm;
        std::string exeTarget; // kept only for a command name cut short
        std::string name;
    };
    using KnownNames = std::unordered_map<quint32, KnownName>;

private:
    const char *m_procRoot;
    KnownNames m_knownNames;
};
