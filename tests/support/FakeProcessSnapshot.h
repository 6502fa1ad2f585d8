// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "common/Failure.h"
#include "platform/ProcessSnapshot.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

// An in-memory process table; each snapshot walks it as it stands. A process
// is identified by its start time, 1000 + its ID unless set in `startTimes`,
// which its entries carry as the snapshot saw it.
class FakeProcessSnapshotSource : public ProcessSnapshotSource
{
public:
    quint64 startTime(quint32 id) const
    {
        const auto found = startTimes.find(id);
        return found == startTimes.end() ? 1000 + id : found->second;
    }
    // The process's ID passes to a new process, as after an end and a reuse.
    void reuseId(quint32 id) { startTimes[id] = startTime(id) + 1; }

    void add(quint32 id, const std::string &name)
    {
        ProcessEntry entry;
        entry.processId = id;
        std::memcpy(entry.exeFile, name.data(), std::min(name.size(), sizeof entry.exeFile));
        entries.push_back(entry);
    }
    // A name field filled to the last byte, without a NUL.
    void addWithoutNul(quint32 id)
    {
        ProcessEntry entry;
        entry.processId = id;
        std::memset(entry.exeFile, 'x', sizeof entry.exeFile);
        entries.push_back(entry);
    }

    std::unique_ptr<ProcessSnapshot> takeSnapshot() override
    {
        ++snapshotsTaken;
        std::vector<ProcessEntry> seen = entries;
        for (ProcessEntry &entry : seen)
            entry.identity = startTime(entry.processId);
        return std::make_unique<Snapshot>(std::move(seen), snapshotsOpen);
    }

    std::vector<ProcessEntry> entries;
    std::map<quint32, quint64> startTimes;
    int snapshotsTaken = 0;
    int snapshotsOpen = 0;

private:
    class Snapshot : public ProcessSnapshot
    {
    public:
        Snapshot(std::vector<ProcessEntry> entries, int &open)
            : m_entries(std::move(entries)), m_open(open)
        {
            ++m_open;
        }
        ~Snapshot() override { --m_open; }
        bool first(ProcessEntry &entry) override
        {
            m_next = 0;
            return next(entry);
        }
        bool next(ProcessEntry &entry) override
        {
            if (m_next >= m_entries.size())
                return false;
            entry = m_entries[m_next++];
            return true;
        }

    private:
        std::vector<ProcessEntry> m_entries;
        int &m_open;
        std::size_t m_next = 0;
    };
};

// A snapshot source whose snapshot cannot be read.
class FailingSnapshotSource : public ProcessSnapshotSource
{
public:
    std::unique_ptr<ProcessSnapshot> takeSnapshot() override
    {
        throw Failure(QStringLiteral("Out of memory"));
    }
};
