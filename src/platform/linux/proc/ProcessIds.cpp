// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/proc/ProcessIds.h"

#include "platform/linux/proc/ProcStat.h"

#include <algorithm>
#include <cerrno>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// "loadavg" counts the reader's own namespace; it is the one shown when the
// reader has one ID there and no other.
bool showsOwnNamespace(int procFd)
{
    const std::string status = readProcFile(procFd, "self/status");
    const auto line = status.find("\nNSpid:");
    if (line == std::string::npos)
        return false;
    const auto end = status.find('\n', line + 1);
    const std::string_view ids =
        std::string_view(status).substr(line + 7, end == std::string::npos ? end : end - line - 7);
    const auto first = ids.find_first_not_of(" \t");
    const auto gap = ids.find_first_of(" \t", first);
    return first != std::string_view::npos &&
           (gap == std::string_view::npos ||
            ids.find_first_not_of(" \t", gap) == std::string_view::npos);
}

// Another user's init process is hidden wherever other users' processes are.
bool showsOtherUsers(int procFd)
{
    if (::geteuid() == 0)
        return true;
    using FileStatus = struct stat;
    FileStatus init{};
    return ::fstatat(procFd, "1", &init, 0) == 0 && init.st_uid != ::geteuid();
}
} // namespace

std::optional<std::vector<quint32>> listProcessIds(int procFd, std::size_t expected)
{
    // A descriptor of its own: a duplicate would share, and move, procFd's offset.
    const int listed = ::openat(procFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!dir) {
        if (listed >= 0)
            ::close(listed);
        return std::nullopt;
    }
    std::vector<quint32> ids;
    ids.reserve(expected + expected / 8);
    const dirent *entry = nullptr;
    while ((errno = 0, entry = ::readdir(dir)) != nullptr) {
        quint32 id = 0;
        const char *c = entry->d_name;
        for (; *c >= '0' && *c <= '9'; ++c)
            id = id * 10 + static_cast<quint32>(*c - '0');
        if (*c == '\0' && c != entry->d_name)
            ids.push_back(id);
    }
    const bool whole = errno == 0;
    ::closedir(dir);
    if (!whole)
        return std::nullopt;
    if (!std::is_sorted(ids.begin(), ids.end()))
        std::sort(ids.begin(), ids.end());
    return ids;
}

std::string taskStamp(int procFd)
{
    if (!showsOwnNamespace(procFd) || !showsOtherUsers(procFd))
        return {};
    // "0.00 0.01 0.05 1/111 17389": the tasks after the slash, and the last ID.
    const std::string loadavg = readProcFile(procFd, "loadavg");
    const auto slash = loadavg.find('/');
    const auto end = loadavg.find_last_not_of(" \n");
    if (slash == std::string::npos || end == std::string::npos || end <= slash)
        return {};
    // A process may be given an ID of its choosing (checkpoint and restore),
    // which the last ID does not show; if another ends meanwhile, the count
    // stays too. Every fork on the machine moves "processes" in "stat".
    const std::string stat = readProcFile(procFd, "stat");
    const auto forks = stat.find("\nprocesses ");
    const auto forksEnd = stat.find('\n', forks + 1);
    if (forks == std::string::npos || forksEnd == std::string::npos)
        return {};
    return loadavg.substr(slash + 1, end - slash) + ' ' +
           stat.substr(forks + 11, forksEnd - forks - 11);
}
