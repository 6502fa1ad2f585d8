// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/proc/ProcessSnapshot.h"

#include "platform/linux/FileDescriptor.h"
#include "platform/linux/proc/ProcStat.h"
#include "platform/linux/proc/ProcessIds.h"
#include "platform/linux/proc/ProcessProbe.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr quint32 initProcessId = 1;
// Two scans with the same task stamp saw no process start between them when
// they are less apart than the IDs take to go round: a second even in a fork
// storm with the smallest ID range.
constexpr auto idReuseTime = std::chrono::seconds(1);

std::string readLink(int procFd, const std::string &relative)
{
    std::string target;
    readLinkInto(procFd, relative.c_str(), target);
    return target;
}

// Whether the file at `target`, " (deleted)" and all, is the process's
// executable, rather than the kernel's note that the executable was removed.
bool fileAtTargetIsExecutable(int procFd, const std::string &pidText, const std::string &target)
{
    using FileStatus = struct stat;
    FileStatus atTarget{};
    FileStatus executable{};
    return ::stat(target.c_str(), &atTarget) == 0 &&
           ::fstatat(procFd, (pidText + "/exe").c_str(), &executable, 0) == 0 &&
           atTarget.st_dev == executable.st_dev && atTarget.st_ino == executable.st_ino;
}

std::string executableName(int procFd, const std::string &pidText, const ProcStat &stat,
                           const std::string &target)
{
    if (!target.empty())
        return exeBaseName(target, target.ends_with(deletedSuffix) &&
                                       fileAtTargetIsExecutable(procFd, pidText, target));
    const std::string cmdline = readProcFile(procFd, pidText + "/cmdline");
    return nameFromCommAndArgv0(stat.comm, cmdline.c_str()); // argv[0] ends at its NUL
}

class ProcFsSnapshot : public ProcessSnapshot
{
public:
    using Known = ProcFsSnapshotSource::KnownProcess;
    using KnownProcesses = ProcFsSnapshotSource::KnownProcesses;

    // `quiet`: no process can have started since the last scan, so that no
    // ID can have passed to another process.
    ProcFsSnapshot(FileDescriptor procFd, const std::vector<quint32> &ids, KnownProcesses &known,
                   quint64 scan, bool quiet)
        : m_procFd(std::move(procFd)), m_ids(ids), m_known(known), m_scan(scan), m_quiet(quiet),
          m_budget(scanDescriptorBudget())
    {
        for (const auto &[id, process] : m_known)
            m_held += process.probe.keepsDescriptor() ? 1 : 0;
    }
    // What this scan did not see has gone, and lets go of its descriptor.
    ~ProcFsSnapshot() override
    {
        std::erase_if(m_known,
                      [this](const auto &known) { return known.second.lastScan != m_scan; });
    }

    // The first entry is a stand-in with ID 0, which names no process, as
    // the idle entry that other systems' snapshots start with. The init
    // process, the system's own, is never listed.
    bool first(ProcessEntry &entry) override
    {
        if (!m_procFd.isValid())
            return false;
        const bool initShown = !m_ids.empty() && m_ids.front() == initProcessId;
        m_next = initShown ? 1 : 0;
        entry = ProcessEntry{};
        return true;
    }

    bool next(ProcessEntry &entry) override
    {
        while (m_next < m_ids.size()) {
            if (read(m_ids[m_next++], entry))
                return true;
        }
        return false;
    }

private:
    // False for a process that has gone meanwhile or is not listed.
    bool read(quint32 id, ProcessEntry &entry)
    {
        const std::string pidText = std::to_string(id);
        Known *known = recheck(id, pidText);
        if (known == nullptr)
            known = readAfresh(id, pidText);
        if (known == nullptr || !known->listed)
            return false;
        // The record's field bounds the name; it is never cut inside a character.
        const std::string_view name = utf8Prefix(known->name, sizeof entry.exeFile - 1);
        std::memcpy(entry.exeFile, name.data(), name.size());
        entry.exeFile[name.size()] = '\0';
        entry.processId = id;
        entry.identity = known->startTime;
        return true;
    }

    // The process as the last scan knew it, brought up to date, when its
    // probe shows it is still the same one; null when it must be read afresh.
    Known *recheck(quint32 id, const std::string &pidText)
    {
        const auto found = m_known.find(id);
        if (found == m_known.end())
            return nullptr;
        Known &known = found->second;
        const bool exact = known.probe.keepsDescriptor();
        bool same = known.probe.read(m_procFd.get(), pidText, m_probed) &&
                    (m_probed == known.probed || (exact && rename(known, pidText)));
        if (same && !exact)
            same = stillTheSame(known, pidText);
        if (!same) {
            m_held -= known.probe.keepsDescriptor() ? 1 : 0;
            m_known.erase(found); // and with it the descriptor
            return nullptr;
        }
        known.lastScan = m_scan;
        return &known;
    }

    // A process whose probe read the same by path may yet be another one
    // that got its ID and runs the same program. It gets a descriptor of its
    // own while the budget lasts, and its start time is read again once
    // that is open; past the budget, too, unless no process has started.
    bool stillTheSame(Known &known, const std::string &pidText)
    {
        if (!keepDescriptor(known, pidText) && m_quiet)
            return true;
        const auto stat = statOf(pidText);
        return stat && stat->startTime == known.startTime;
    }

    // The same process after an exec, a rename, a deleted executable or its
    // exit, as its probe now reads (m_probed): only its name and whether it
    // is listed can have changed.
    bool rename(Known &known, const std::string &pidText)
    {
        known.probed = m_probed;
        if (known.probe.kind() == ProcessProbe::Kind::Exe) {
            known.name = executableName(m_procFd.get(), pidText, ProcStat{}, known.probed);
            return true;
        }
        const auto stat = statOf(pidText);
        if (!stat || stat->startTime != known.startTime)
            return false;
        known.listed = isListedProcess(*stat);
        known.name = executableName(m_procFd.get(), pidText, *stat,
                                    readLink(m_procFd.get(), pidText + "/exe"));
        return true;
    }

    Known *readAfresh(quint32 id, const std::string &pidText)
    {
        const auto stat = statOf(pidText);
        if (!stat)
            return nullptr;
        Known known;
        known.startTime = stat->startTime;
        known.listed = isListedProcess(*stat);
        known.lastScan = m_scan;
        const std::string target =
            known.listed ? readLink(m_procFd.get(), pidText + "/exe") : std::string();
        if (known.listed)
            known.name = executableName(m_procFd.get(), pidText, *stat, target);
        // A process whose link can be read is followed by it; others by their stat.
        const bool byLink = !target.empty();
        known.probe = ProcessProbe(byLink ? ProcessProbe::Kind::Exe : ProcessProbe::Kind::Stat,
                                   FileDescriptor());
        known.probed = byLink ? target : statProbeValue(m_procFd.get(), pidText, *stat);
        return &m_known.insert_or_assign(id, std::move(known)).first->second;
    }

    std::optional<ProcStat> statOf(const std::string &pidText) const
    {
        return parseProcStat(readProcFile(m_procFd.get(), pidText + "/stat"));
    }

    // A process seen twice is likely to stay: a descriptor of its own
    // follows it from then on, while the budget lasts.
    bool keepDescriptor(Known &known, const std::string &pidText)
    {
        if (m_held >= m_budget)
            return false;
        auto kept = ProcessProbe::keep(known.probe.kind(), m_procFd.get(), pidText);
        if (!kept) {
            if (errno == EMFILE || errno == ENFILE)
                m_budget = m_held; // no more tries this scan
            return false;
        }
        known.probe = std::move(*kept);
        ++m_held;
        return true;
    }

    FileDescriptor m_procFd;
    const std::vector<quint32> m_ids;
    KnownProcesses &m_known;
    const quint64 m_scan;
    const bool m_quiet;
    std::size_t m_budget;
    std::size_t m_held = 0; // descriptors kept by probes
    std::string m_probed;   // what the latest probe read; its room is reused
    std::size_t m_next = 0;
};

} // namespace

ProcFsSnapshotSource::ProcFsSnapshotSource(const char *procRoot) : m_procRoot(procRoot) {}

std::unique_ptr<ProcessSnapshot> ProcFsSnapshotSource::takeSnapshot()
{
    const auto now = std::chrono::steady_clock::now();
    const bool recent = now - m_lastScan < idReuseTime;
    m_lastScan = now;
    FileDescriptor procFd(::open(m_procRoot, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    bool quiet = false;
    if (procFd.isValid()) {
        quiet = updateIds(procFd.get(), recent);
    } else {
        m_ids.clear();
        m_taskStamp.clear(); // what is listed next comes from a listing
    }
    return std::make_unique<ProcFsSnapshot>(std::move(procFd), m_ids, m_known, ++m_scans, quiet);
}

// The IDs of the last listing serve again while no process can have appeared
// since; the known ones are read all the same, which finds those that went.
bool ProcFsSnapshotSource::updateIds(int procFd, bool recent)
{
    std::string stamp = taskStamp(procFd);
    const bool quiet = recent && !stamp.empty() && stamp == m_taskStamp;
    m_taskStamp = std::move(stamp);
    if (quiet)
        return true;
    auto ids = listProcessIds(procFd, m_known.size());
    m_ids = ids ? std::move(*ids) : std::vector<quint32>();
    if (!ids)
        m_taskStamp.clear(); // the next refresh lists again
    ++m_listings;
    return false;
}
