// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Monitoring's own CPU time: the main window refreshing every half second for
// a while, against a full scan of /proc (every process's `stat` read and its
// `exe` link read) every half second over the same time, and against
// `top -b -d 0.5`, in the same run, with extra sleeping processes that it
// starts and ends. Beside it: a process pass that knows nothing yet, as the
// first after start, against one full scan; the descriptors that monitoring
// keeps open; our heap against top's largest resident size. Needs a display.
//   monitor_bench [EXTRA...]        (default: 1000 5000 20000)
#include "BenchSupport.h"
#include "app/Form1.h"
#include "app/ListModel.h"
#include "app/ListView.h"
#include "platform/PlatformServices.h"
#include "platform/linux/proc/ProcessSnapshot.h"
#include "proc/ProcessPass.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

extern char **environ;

namespace
{
constexpr int seconds = 20;

struct TopRun {
    double cpuSeconds = -1;
    double maxResidentMb = 0;
};

// What `top` spends refreshing every half second for `seconds`.
TopRun runTop()
{
    char program[] = "top";
    char batch[] = "-b";
    char delay[] = "-d";
    char half[] = "0.5";
    char iterations[] = "-n";
    std::string count = std::to_string(seconds * 2 + 1);
    char *argv[] = {program, batch, delay, half, iterations, count.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        return {};
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    return {double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6,
            double(usage.ru_maxrss) / 1024};
}

// Every process's `stat` opened and read and its `exe` link read: what a
// refresh would cost that knew nothing from the last one.
int fullScan()
{
    int processes = 0;
    char buffer[4096];
    DIR *proc = ::opendir("/proc");
    const int procFd = ::dirfd(proc);
    while (const dirent *entry = ::readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        const std::string pid(entry->d_name);
        const int fd = ::openat(procFd, (pid + "/stat").c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const bool read = ::read(fd, buffer, sizeof buffer) > 0;
        ::close(fd);
        const bool linked = ::readlinkat(procFd, (pid + "/exe").c_str(), buffer, sizeof buffer) > 0;
        processes += read && linked ? 1 : 0;
    }
    ::closedir(proc);
    return processes;
}

// The CPU seconds of a full scan every half second for `seconds`.
double fullScanCpuSeconds()
{
    const double before = ownCpuSeconds();
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [] { fullScan(); });
    tick.start(500);
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    return ownCpuSeconds() - before;
}

// The median CPU time of `work` over 5 runs, in milliseconds, to the
// microsecond, where /proc's ticks are too coarse.
double medianCpuMs(const std::function<void()> &work)
{
    const auto cpuMs = [] {
        timespec now{};
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
    };
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        const double before = cpuMs();
        work();
        times.push_back(cpuMs() - before);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A process pass into a list of its own, by a source that knows nothing yet.
void firstProcessPass()
{
    ListModel list;
    ProcFsSnapshotSource fresh;
    loadProcesses(list, fresh);
}

// The descriptors this process keeps open on other processes' /proc files.
int descriptorsOnProcesses()
{
    int kept = 0;
    std::error_code error;
    for (const auto &fd : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const std::string target = std::filesystem::read_symlink(fd.path(), error).string();
        kept += target.starts_with("/proc/") && !target.starts_with("/proc/self") &&
                        (target.ends_with("/exe") || target.ends_with("/stat"))
                    ? 1
                    : 0;
    }
    return kept;
}

double heapMb()
{
    const struct mallinfo2 heap = ::mallinfo2();
    return double(heap.uordblks + heap.hblkhd) / (1024 * 1024);
}

// Our CPU seconds while the window monitors every half second for `seconds`.
double monitoringCpuSeconds(Form1 &form)
{
    form.Text1->setText(QStringLiteral("0.5"));
    const double before = ownCpuSeconds();
    form.Option4->setChecked(true);
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    form.Option3->setChecked(true);
    return ownCpuSeconds() - before;
}
} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("DISPLAY")) {
        std::fprintf(stderr, "monitor_bench needs a display\n");
        return 1;
    }
    QTemporaryDir settings; // never the user's own
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    QApplication app(argc, argv);
    std::vector<int> extras;
    for (int i = 1; i < argc; ++i)
        extras.push_back(std::atoi(argv[i]));
    if (extras.empty())
        extras = {1000, 5000, 20000};

    PlatformServices platform = createPlatformServices();
    Form1 form(platform, QCoreApplication::applicationDirPath());
    form.Form_Load();
    form.show();

    std::printf("%7s %6s %7s %7s %7s %6s %6s %8s %6s %6s %7s %7s\n", "extra", "rows", "full s",
                "top s", "ours s", "/full", "/top", "1st ms", "/full", "fds", "heapMB", "topMB");
    for (const int extra : extras) {
        const Sleepers sleepers(extra);
        const double full = fullScanCpuSeconds();
        const TopRun top = runTop();
        const double ours = monitoringCpuSeconds(form);
        const int fds = descriptorsOnProcesses();
        const double heap = heapMb();
        const double fullMs = medianCpuMs([] { fullScan(); });
        const double firstMs = medianCpuMs(firstProcessPass);
        std::printf("%7zu %6d %7.2f %7.2f %7.2f %5.2fx %5.2fx %8.1f %5.2fx %6d %7.1f %7.1f\n",
                    sleepers.count(), form.ListView1->count(), full, top.cpuSeconds, ours,
                    ours / full, ours / top.cpuSeconds, firstMs, firstMs / fullMs, fds, heap,
                    top.maxResidentMb);
        std::fflush(stdout);
    }
    return 0;
}
