// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/proc/ProcessProbe.h"

#include "platform/linux/proc/ProcStat.h"
#include "platform/linux/proc/ProcessControl.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace
{
// Enough for everything else the program opens, pidfds aside.
constexpr rlim_t reservedForTheProgram = 256;

std::string relativePath(ProcessProbe::Kind kind, const std::string &pidText)
{
    return pidText + (kind == ProcessProbe::Kind::Exe ? "/exe" : "/stat");
}

} // namespace

std::optional<ProcessProbe> ProcessProbe::keep(Kind kind, int procFd, const std::string &pidText)
{
    // The link itself, not its target: the descriptor follows the process.
    const int flags = kind == Kind::Exe ? O_PATH | O_NOFOLLOW | O_CLOEXEC : O_RDONLY | O_CLOEXEC;
    const FileDescriptor opened(::openat(procFd, relativePath(kind, pidText).c_str(), flags));
    if (!opened.isValid())
        return std::nullopt;
    FileDescriptor kept(::fcntl(opened.get(), F_DUPFD_CLOEXEC, lowestKeptDescriptor));
    if (!kept.isValid())
        return std::nullopt;
    return ProcessProbe(kind, std::move(kept));
}

bool ProcessProbe::read(int procFd, const std::string &pidText, std::string &value) const
{
    if (m_kind == Kind::Exe) {
        return m_kept.isValid()
                   ? readLinkInto(m_kept.get(), "", value)
                   : readLinkInto(procFd, relativePath(m_kind, pidText).c_str(), value);
    }
    std::string line;
    if (m_kept.isValid()) {
        char buffer[4096];
        const ssize_t length = ::pread(m_kept.get(), buffer, sizeof buffer, 0);
        if (length > 0)
            line.assign(buffer, static_cast<std::size_t>(length));
    } else {
        line = readProcFile(procFd, relativePath(m_kind, pidText));
    }
    const auto stat = parseProcStat(line);
    if (!stat)
        return false;
    value = statProbeValue(procFd, pidText, *stat);
    return true;
}

std::string statProbeValue(int procFd, const std::string &pidText, const ProcStat &stat)
{
    std::string value = std::to_string(stat.startTime) + ' ' + stat.state + stat.comm;
    if (!isListedProcess(stat))
        return value;
    // What else the listed name comes from: the exe link once it can be
    // read, and argv[0] where the command name was cut.
    std::string target;
    value += readLinkInto(procFd, relativePath(ProcessProbe::Kind::Exe, pidText).c_str(), target)
                 ? "\n+exe"
                 : "\n-exe";
    if (fillsComm(stat.comm))
        value += '\n' + std::string(readProcFile(procFd, pidText + "/cmdline").c_str());
    return value;
}

std::size_t scanDescriptorBudget()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 0;
    const rlim_t reserve = pidfdsHeldAtOnce() + reservedForTheProgram;
    if (limit.rlim_cur <= rlim_t(lowestKeptDescriptor) + reserve)
        return 0;
    return static_cast<std::size_t>(limit.rlim_cur - lowestKeptDescriptor - reserve);
}
