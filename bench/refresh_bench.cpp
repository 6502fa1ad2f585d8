// The refresh (process pass, list rebuild, one paint) against a bare scan of
// /proc/*/stat plus a plain model fill, in the same run, at the machine's own
// process count and with extra sleeping processes that it starts and ends.
//   refresh_bench [EXTRA...]        (default: 0 1000 5000)
#include "app/ListView.h"
#include "platform/linux/ProcessSnapshot_linux.h"
#include "proc/ProcessPass.h"

#include <QApplication>
#include <QStandardItemModel>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{
constexpr int repetitions = 15;

class Sleepers
{
public:
    explicit Sleepers(int count)
    {
        char program[] = "/bin/sleep";
        char seconds[] = "3600";
        char *argv[] = {program, seconds, nullptr};
        for (int i = 0; i < count; ++i) {
            pid_t pid = 0;
            if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) == 0)
                m_pids.push_back(pid);
        }
    }
    ~Sleepers()
    {
        for (const pid_t pid : m_pids)
            ::kill(pid, SIGKILL);
        for (const pid_t pid : m_pids)
            ::waitpid(pid, nullptr, 0);
    }
    std::size_t count() const { return m_pids.size(); }

private:
    std::vector<pid_t> m_pids;
};

double medianMs(const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The baseline: every /proc/PID/stat read once, then a plain Qt model filled.
int bareScanAndFill(QStandardItemModel &model)
{
    std::vector<std::pair<std::string, std::string>> rows;
    DIR *proc = ::opendir("/proc");
    char buffer[4096];
    while (const dirent *entry = ::readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        const std::string path = std::string("/proc/") + entry->d_name + "/stat";
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const ssize_t length = ::read(fd, buffer, sizeof buffer);
        ::close(fd);
        if (length <= 0)
            continue;
        const std::string line(buffer, static_cast<std::size_t>(length));
        const auto open = line.find('('), close = line.rfind(')');
        rows.emplace_back(line.substr(open + 1, close - open - 1), entry->d_name);
    }
    ::closedir(proc);

    model.clear();
    model.setColumnCount(3);
    for (const auto &[name, id] : rows)
        model.appendRow({new QStandardItem(QString::fromStdString(name)),
                         new QStandardItem(QString::fromStdString(id)),
                         new QStandardItem(QStringLiteral("Process"))});
    return static_cast<int>(rows.size());
}

void refresh(ListView &list, ProcFsSnapshotSource &source)
{
    loadProcesses(list, source);
    QCoreApplication::processEvents(); // the view learns of the rebuild
    list.repaint();
}
} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> extras;
    for (int i = 1; i < argc; ++i)
        extras.push_back(std::atoi(argv[i]));
    if (extras.empty())
        extras = {0, 1000, 5000};

    ListView list;
    for (const char *header : {"Running Processes/Tasks", "ID", "Type"})
        list.addColumn(QString::fromLatin1(header));
    list.setCheckBoxes(true);
    list.setSorted(true);
    list.setSortKey(0);
    list.resize(520, 160);
    list.show();
    ProcFsSnapshotSource source;
    QStandardItemModel model;

    std::printf("%8s %10s %14s %14s %7s\n", "extra", "processes", "baseline ms", "refresh ms",
                "ratio");
    for (const int extra : extras) {
        const Sleepers sleepers(extra);
        int processes = 0;
        const double baseline = medianMs([&] { processes = bareScanAndFill(model); });
        const double ours = medianMs([&] { refresh(list, source); });
        std::printf("%8zu %10d %14.2f %14.2f %6.2fx\n", sleepers.count(), processes, baseline, ours,
                    ours / baseline);
        std::fflush(stdout);
    }
    return 0;
}
