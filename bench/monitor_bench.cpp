// Monitoring's own CPU time: the main window refreshing every half second for
// a while, against a full scan of /proc (every process's `stat` read and its
// `exe` link read) every half second over the same time, and against
// `top -b -d 0.5`, in the same run, with extra sleeping processes that it
// starts and ends. Needs a display.
//   monitor_bench [EXTRA...]        (default: 1000 5000 20000)
#include "BenchSupport.h"
#include "app/Form1.h"
#include "app/ListView.h"
#include "platform/PlatformServices.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace
{
constexpr int seconds = 20;

// The CPU seconds `top` spends refreshing every half second for `seconds`.
double topCpuSeconds()
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
        return -1;
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
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

    std::printf("%8s %10s %10s %10s %10s %10s %10s\n", "extra", "rows", "full s", "top s",
                "ours s", "/full", "/top");
    for (const int extra : extras) {
        const Sleepers sleepers(extra);
        const double full = fullScanCpuSeconds();
        const double top = topCpuSeconds();
        const double ours = monitoringCpuSeconds(form);
        std::printf("%8zu %10d %10.2f %10.2f %10.2f %9.2fx %9.2fx\n", sleepers.count(),
                    form.ListView1->count(), full, top, ours, ours / full, ours / top);
        std::fflush(stdout);
    }
    return 0;
}
