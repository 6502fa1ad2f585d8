// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/proc/ProcessControl.h"

#include "platform/linux/proc/ProcStat.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace
{
// Enough that a pass over many processes waits seldom; polling more at once
// would cost more than it saves.
constexpr rlim_t mostHandlesHeld = 1024;

// glibc 2.36's <sys/pidfd.h> is not safe to include from C++; the calls are small.
int pidfdOpen(pid_t pid)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

bool pidfdSendSignal(int pidfd, int signal)
{
    return ::syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0) == 0;
}

// A pidfd reads as ready once its process has exited.
bool hasExited(int pidfd)
{
    pollfd entry{pidfd, POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0;
}

bool outOfDescriptors(int error)
{
    return error == EMFILE || error == ENFILE;
}

class PidfdHandle : public ProcessHandle
{
public:
    explicit PidfdHandle(FileDescriptor pidfd) : m_pidfd(std::move(pidfd)) {}

    // Linux chooses the exit status of a killed process itself.
    bool terminate(quint32) override { return pidfdSendSignal(m_pidfd.get(), SIGKILL); }
    int pidfd() const { return m_pidfd.get(); }

private:
    FileDescriptor m_pidfd;
};
} // namespace

PidfdProcessControl::PidfdProcessControl(const char *procRoot)
    : m_procFd(::open(procRoot, O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
}

OpenedProcess PidfdProcessControl::open(quint32 processId, std::optional<quint64> identity)
{
    if (!identity || processId == 0 || processId > quint32(INT32_MAX))
        return {};
    FileDescriptor pidfd(pidfdOpen(static_cast<pid_t>(processId)));
    if (!pidfd.isValid())
        return {nullptr, outOfDescriptors(errno)};
    // Reading the stat takes one more descriptor for a moment.
    errno = 0;
    const std::string line = readProcFile(m_procFd.get(), std::to_string(processId) + "/stat");
    if (line.empty() && outOfDescriptors(errno))
        return {nullptr, true};
    const auto stat = parseProcStat(line);
    if (!stat || stat->startTime != *identity || stat->state == 'Z')
        return {};
    // While the pidfd's process has not exited it still holds the ID, so the
    // stat just read was its own.
    if (hasExited(pidfd.get()))
        return {};
    return {std::make_unique<PidfdHandle>(std::move(pidfd))};
}

std::size_t pidfdsHeldAtOnce()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 1;
    return std::clamp<rlim_t>(limit.rlim_cur / 4, 1, mostHandlesHeld);
}

std::size_t PidfdProcessControl::handlesToHold() const
{
    return pidfdsHeldAtOnce();
}

void PidfdProcessControl::waitUntilExited(const std::vector<ProcessHandle *> &handles,
                                          Deadline deadline)
{
    std::vector<pollfd> waiting;
    for (ProcessHandle *handle : handles)
        if (const auto *own = dynamic_cast<PidfdHandle *>(handle))
            waiting.push_back({own->pidfd(), POLLIN, 0});
    while (!waiting.empty()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return;
        const int ready = ::poll(waiting.data(), waiting.size(), static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR)
            return;
        std::erase_if(waiting, [](const pollfd &entry) { return entry.revents != 0; });
    }
}
