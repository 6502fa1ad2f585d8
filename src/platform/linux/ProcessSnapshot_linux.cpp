#include "platform/linux/ProcessSnapshot_linux.h"

#include "platform/linux/FileDescriptor_linux.h"
#include "platform/linux/ProcStat_linux.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr quint32 initProcessId = 1;

std::string readLink(int procFd, const std::string &relative)
{
    char buffer[4096];
    const ssize_t length = ::readlinkat(procFd, relative.c_str(), buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

std::vector<quint32> listProcessIds(int procFd)
{
    std::vector<quint32> ids;
    DIR *dir = ::fdopendir(::dup(procFd));
    if (!dir)
        return ids;
    while (const dirent *entry = ::readdir(dir)) {
        quint32 id = 0;
        const char *c = entry->d_name;
        for (; *c >= '0' && *c <= '9'; ++c)
            id = id * 10 + static_cast<quint32>(*c - '0');
        if (*c == '\0' && c != entry->d_name)
            ids.push_back(id);
    }
    ::closedir(dir);
    std::sort(ids.begin(), ids.end());
    return ids;
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
    using KnownNames = ProcFsSnapshotSource::KnownNames;

    ProcFsSnapshot(const char *procRoot, KnownNames &knownNames)
        : m_procFd(::open(procRoot, O_RDONLY | O_DIRECTORY | O_CLOEXEC)), m_knownNames(knownNames),
          m_previousNames(std::move(knownNames))
    {
        m_knownNames.clear();
        if (m_procFd.isValid())
            m_ids = listProcessIds(m_procFd.get());
    }

    // The first entry stands for the system itself, as the idle entry that
    // other systems' snapshots start with: the init process where this user
    // may see it, else a stand-in with ID 0, which names no process. A
    // process of the user's own is never in its place.
    bool first(ProcessEntry &entry) override
    {
        if (!m_procFd.isValid())
            return false;
        const bool initShown = !m_ids.empty() && m_ids.front() == initProcessId;
        m_next = initShown ? 1 : 0;
        if (!initShown || !read(initProcessId, entry))
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
        const auto stat = parseProcStat(readProcFile(m_procFd.get(), pidText + "/stat"));
        if (!stat || !isListedProcess(*stat))
            return false;
        // The record's field bounds the name; it is never cut inside a character.
        const std::string fullName = nameOf(id, pidText, *stat);
        const std::string_view name = utf8Prefix(fullName, sizeof entry.exeFile - 1);
        std::memcpy(entry.exeFile, name.data(), name.size());
        entry.exeFile[name.size()] = '\0';
        entry.processId = id;
        entry.identity = stat->startTime;
        return true;
    }

    std::string nameOf(quint32 id, const std::string &pidText, const ProcStat &stat)
    {
        // Only a cut command name costs a link read per scan; others change on exec.
        const bool cut = fillsComm(stat.comm);
        const std::string target = cut ? readLink(m_procFd.get(), pidText + "/exe") : std::string();
        const auto known = m_previousNames.find(id);
        if (known != m_previousNames.end() && known->second.startTime == stat.startTime &&
            known->second.comm == stat.comm && known->second.exeTarget == target) {
            return m_knownNames.insert_or_assign(id, std::move(known->second)).first->second.name;
        }
        std::string name =
            executableName(m_procFd.get(), pidText, stat,
                           cut ? target : readLink(m_procFd.get(), pidText + "/exe"));
        m_knownNames.insert_or_assign(
            id, ProcFsSnapshotSource::KnownName{stat.startTime, stat.comm, target, name});
        return name;
    }

    FileDescriptor m_procFd;
    KnownNames &m_knownNames;
    KnownNames m_previousNames;
    std::vector<quint32> m_ids;
    std::size_t m_next = 0;
};

} // namespace

ProcFsSnapshotSource::ProcFsSnapshotSource(const char *procRoot) : m_procRoot(procRoot) {}

std::unique_ptr<ProcessSnapshot> ProcFsSnapshotSource::takeSnapshot()
{
    return std::make_unique<ProcFsSnapshot>(m_procRoot, m_knownNames);
}
