// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ProcessSnapshot.h"
#include "platform/linux/proc/ProcessProbe.h"

#include <chrono>
#include <string>
#include <unordered_map>
#include <vector>

// The process snapshot on /proc: processes in ascending ID order, after a
// first entry that stands for the system (the init process, or a stand-in
// where it is hidden); zombies and kernel threads left out.
class ProcFsSnapshotSource : public ProcessSnapshotSource
{
public:
    explicit ProcFsSnapshotSource(const char *procRoot = "/proc");

    // One at a time: a snapshot brings what the source knows up to date.
    std::unique_ptr<ProcessSnapshot> takeSnapshot() override;
    // How many snapshots have listed the processes afresh.
    quint64 listings() const { return m_listings; }

    // A process as the latest snapshot found it. A later snapshot reads it
    // again only when its probe says it changed or cannot say it did not: a
    // new process, an exec, a rename or exit, a deleted executable.
    struct KnownProcess {
        quint64 startTime = 0;
        bool listed = false;
        std::string name;
        ProcessProbe probe;
        std::string probed; // what the probe read when the name was worked out
        quint64 lastScan = 0;
    };
    using KnownProcesses = std::unordered_map<quint32, KnownProcess>;

private:
    bool updateIds(int procFd, bool recent);

    const char *m_procRoot;
    std::vector<quint32> m_ids; // as last listed
    std::string m_taskStamp;    // the task stamp when they were
    quint64 m_listings = 0;
    KnownProcesses m_known;
    quint64 m_scans = 0;
    std::chrono::steady_clock::time_point m_lastScan;
};
