// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up: from starting a process to its window shown on the display, for
// the main window (its load, the first refresh included) against a bare Qt
// list window showing the same processes, in the same run, with extra sleeping processes that it
// starts and ends. Each run is a process of its own; median of 9. Needs a display.
//   startup_bench [EXTRA...]        (default: 0 1000 5000)
#include "BenchSupport.h"
#include "app/Form1.h"
#include "platform/PlatformServices.h"
#include "platform/SessionBus.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace
{
// Returns once `widget`'s window is exposed on the display.
int showAndQuit(QWidget &widget)
{
    widget.show();
    while (!widget.windowHandle() || !widget.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return 0;
}

// The running processes by name and ID, as the simplest lister reads them.
void listProcesses(QTreeWidget &list)
{
    QList<QTreeWidgetItem *> rows;
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        const std::string id = entry.path().filename().string();
        if (id.find_first_not_of("0123456789") != std::string::npos)
            continue;
        QFile comm(QString::fromStdString(entry.path().string() + "/comm"));
        if (comm.open(QIODevice::ReadOnly))
            rows << new QTreeWidgetItem({QString::fromUtf8(comm.readAll().trimmed()),
                                         QString::fromStdString(id), QStringLiteral("Process")});
    }
    list.addTopLevelItems(rows);
}

int runBare(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTreeWidget window;
    window.setHeaderLabels({QStringLiteral("Name"), QStringLiteral("ID"), QStringLiteral("Type")});
    window.setSortingEnabled(true);
    listProcesses(window);
    window.resize(600, 400);
    return showAndQuit(window);
}

int runOurs(int argc, char *argv[])
{
    neverStartASessionBus(); // as the program does
    QApplication app(argc, argv);
    PlatformServices platform = createPlatformServices();
    Form1 form(platform, QCoreApplication::applicationDirPath());
    form.Form_Load();
    return showAndQuit(form);
}

// Wall milliseconds from spawning this program in `mode` to its end.
double startMs(const char *self, const char *mode)
{
    char *argv[] = {const_cast<char *>(self), const_cast<char *>(mode), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, nullptr, nullptr, argv, environ) != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed.count() : -1;
}

double medianStartMs(const char *self, const char *mode)
{
    std::vector<double> times;
    for (int i = 0; i < 9; ++i)
        times.push_back(startMs(self, mode));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--bare") == 0)
        return runBare(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--ours") == 0)
        return runOurs(argc, argv);
    if (!qEnvironmentVariableIsSet("DISPLAY")) {
        std::fprintf(stderr, "startup_bench needs a display\n");
        return 1;
    }
    QTemporaryDir settings; // never the user's own
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    std::vector<int> extras;
    for (int i = 1; i < argc; ++i)
        extras.push_back(std::atoi(argv[i]));
    if (extras.empty())
        extras = {0, 1000, 5000};
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();

    std::printf("%8s %10s %10s %10s\n", "extra", "bare ms", "ours ms", "ratio");
    for (const int extra : extras) {
        const Sleepers sleepers(extra);
        const double bare = medianStartMs(self.c_str(), "--bare");
        const double ours = medianStartMs(self.c_str(), "--ours");
        std::printf("%8zu %10.1f %10.1f %9.2fx\n", sleepers.count(), bare, ours, ours / bare);
        std::fflush(stdout);
    }
    return 0;
}
