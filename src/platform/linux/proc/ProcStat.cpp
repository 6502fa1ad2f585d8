// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/proc/ProcStat.h"

#include "platform/linux/FileDescriptor.h"

#include <charconv>

#include <fcntl.h>
#include <unistd.h>

namespace
{
constexpr std::uint64_t kernelThreadFlag = 0x00200000; // PF_KTHREAD
constexpr std::size_t commLength = 15;                 // TASK_COMM_LEN - 1

// Fields after the name, counted from the state (field 3 of stat).
constexpr int flagsField = 9 - 3;
constexpr int startTimeField = 22 - 3;

std::string_view baseName(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool parseNumber(std::string_view text, std::uint64_t &value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}
} // namespace

std::string readProcFile(int procFd, const std::string &relative)
{
    const FileDescriptor fd(::openat(procFd, relative.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.isValid())
        return {};
    char buffer[4096];
    const ssize_t length = ::read(fd.get(), buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

bool readLinkInto(int dirFd, const char *path, std::string &target)
{
    char buffer[4096];
    const ssize_t length = ::readlinkat(dirFd, path, buffer, sizeof buffer);
    if (length <= 0)
        return false;
    target.assign(buffer, static_cast<std::size_t>(length));
    return true;
}

std::optional<ProcStat> parseProcStat(std::string_view line)
{
    const auto open = line.find('(');
    const auto close = line.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open ||
        close + 2 >= line.size())
        return std::nullopt;

    ProcStat stat;
    stat.comm = std::string(line.substr(open + 1, close - open - 1));
    std::string_view rest = line.substr(close + 2);
    for (int field = 0; field <= startTimeField; ++field) {
        const auto space = rest.find(' ');
        const std::string_view value = rest.substr(0, space);
        if (field == 0 && value.size() == 1)
            stat.state = value.front();
        else if (field == flagsField && !parseNumber(value, stat.flags))
            return std::nullopt;
        else if (field == startTimeField && !parseNumber(value, stat.startTime))
            return std::nullopt;
        if (space == std::string_view::npos) {
            if (field < startTimeField)
                return std::nullopt;
            break;
        }
        rest = rest.substr(space + 1);
    }
    return stat;
}

bool isListedProcess(const ProcStat &stat)
{
    return stat.state != 'Z' && stat.state != 'X' && (stat.flags & kernelThreadFlag) == 0;
}

std::string exeBaseName(std::string_view linkTarget, bool fileAtTarget)
{
    if (!fileAtTarget && linkTarget.size() > deletedSuffix.size() &&
        linkTarget.ends_with(deletedSuffix))
        linkTarget.remove_suffix(deletedSuffix.size());
    return std::string(baseName(linkTarget));
}

std::string nameFromCommAndArgv0(std::string_view comm, std::string_view argv0)
{
    const std::string_view argName = baseName(argv0);
    if (fillsComm(comm) && argName.size() > comm.size() && argName.starts_with(comm))
        return std::string(argName);
    return std::string(comm);
}

bool fillsComm(std::string_view comm)
{
    return comm.size() == commLength;
}
