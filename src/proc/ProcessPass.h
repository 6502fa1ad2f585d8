// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <string>
#include <vector>

class RunningList;
class ProcessSnapshotSource;
struct ProcessEntry;

// The texts of the rows one pass wrote, kept for the next: a process listed
// again under the same ID and name takes them over instead of converting its
// name and ID again, which on a large, quiet system is most of a pass's own
// work beside the snapshot.
class ProcessRowTexts
{
public:
    struct Texts {
        QString name;
        QString id;
    };

    void beginPass();
    // The row texts for `entry`, taken over from the last pass where they
    // match; valid until the next call.
    const Texts &textsFor(const ProcessEntry &entry);

private:
    struct Kept {
        quint32 processId = 0;
        std::string nameField; // the name's bytes as the snapshot gave them
        Texts texts;
    };
    const Kept *lastPassEntry(quint32 processId);

    std::vector<Kept> m_lastPass;
    std::vector<Kept> m_thisPass;
    std::size_t m_cursor = 0; // snapshots come in ascending ID order, mostly
    Texts m_unkept;
};

// The process pass: empties the running list and adds one "Process" row per
// snapshot entry, except the first, which stands for the system itself.
// Failures travel to the caller.
void loadProcesses(RunningList &runningList, ProcessSnapshotSource &snapshots,
                   ProcessRowTexts &texts);
// The same with nothing kept from earlier passes.
void loadProcesses(RunningList &runningList, ProcessSnapshotSource &snapshots);
