// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A snapshot source that remembers what it read lists, after every change,
// what a source that reads everything afresh lists: processes that start and
// end, exec under a new name or the same one, rename themselves, lose their
// executable, or come back under an ID that another had. It runs in a PID
// namespace of its own, so that the changes without a new process are the
// only ones between two scans.
#include "platform/linux/proc/ProcStat.h"
#include "platform/linux/proc/ProcessProbe.h"
#include "platform/linux/proc/ProcessSnapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

class ProcChurnTest : public QObject
{
    Q_OBJECT

private slots:
    void everyScanListsWhatAFreshOneLists_data();
    void everyScanListsWhatAFreshOneLists();
};

namespace
{
using Listing = std::map<quint32, std::pair<std::string, std::optional<quint64>>>;

Listing scan(ProcessSnapshotSource &source)
{
    Listing listed;
    const auto snapshot = source.takeSnapshot();
    ProcessEntry entry;
    for (bool more = snapshot->first(entry); more; more = snapshot->next(entry))
        listed[entry.processId] = {entry.exeFile, entry.identity};
    return listed;
}

// The forks made on the machine since it started, as "stat" counts them.
std::string forksMade()
{
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    for (QByteArray line; !(line = stat.readLine()).isEmpty();)
        if (line.startsWith("processes "))
            return line.toStdString();
    return {};
}

// clone3's arguments up to set_tid, which picks the child's ID.
struct CloneArguments {
    quint64 flags, pidfd, childTid, parentTid, exitSignal, stack, stackSize, tls, setTid,
        setTidSize;
};

// Processes of the test's own, each a program in the test's folder, ended
// and reaped by their IDs.
class Processes
{
public:
    explicit Processes(const QString &folder) : m_folder(folder) {}
    ~Processes()
    {
        for (const pid_t pid : std::vector<pid_t>(m_pids))
            end(pid);
    }

    // `pid`: the ID it must have, once free (0: any).
    pid_t start(const QString &program, const QStringList &arguments = {"600"}, pid_t pid = 0)
    {
        const QByteArray path = QFile::encodeName(m_folder + '/' + program);
        std::vector<QByteArray> words{path};
        for (const QString &argument : arguments)
            words.push_back(argument.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        CloneArguments clone{};
        clone.exitSignal = SIGCHLD;
        const pid_t wanted = pid;
        if (pid != 0) {
            clone.setTid = reinterpret_cast<quint64>(&wanted);
            clone.setTidSize = 1;
        }
        const long child = ::syscall(SYS_clone3, &clone, sizeof clone);
        if (child == 0) {
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        if (child <= 0)
            return -1;
        m_pids.push_back(pid_t(child));
        // Until its exec, the child is a copy of the test.
        const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
        const QString link = QStringLiteral("/proc/%1/exe").arg(child);
        for (int tries = 0; tries < 500 && QFile::symLinkTarget(link) == self; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return pid_t(child);
    }
    void end(pid_t pid)
    {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        std::erase(m_pids, pid);
    }
    const std::vector<pid_t> &pids() const { return m_pids; }

private:
    QString m_folder;
    std::vector<pid_t> m_pids;
};

// Lets the processes waiting on the pipe at `path` go on.
bool release(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    for (int tries = 0; tries < 500; ++tries) {
        const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            const bool written = ::write(fd, "\n", 1) == 1;
            ::close(fd);
            return written;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // no reader yet
    }
    return false;
}

void install(const QString &folder, const QString &name, const QString &from)
{
    QFile::remove(folder + '/' + name);
    QFile::copy(from, folder + '/' + name);
    QFile::setPermissions(folder + '/' + name, QFile::ReadOwner | QFile::ExeOwner);
}

std::string commOf(pid_t pid)
{
    return readProcFile(AT_FDCWD, "/proc/" + std::to_string(pid) + "/comm");
}
} // namespace

void ProcChurnTest::everyScanListsWhatAFreshOneLists_data()
{
    QTest::addColumn<bool>("keepingDescriptors");
    QTest::newRow("descriptors kept") << true;
    QTest::newRow("by path, past the budget") << false;
}

void ProcChurnTest::everyScanListsWhatAFreshOneLists()
{
    QFETCH(bool, keepingDescriptors);
    rlimit saved{};
    QVERIFY(::getrlimit(RLIMIT_NOFILE, &saved) == 0);
    rlimit limit = saved;
    limit.rlim_cur = keepingDescriptors ? saved.rlim_max : rlim_t(lowestKeptDescriptor);
    QVERIFY(::setrlimit(RLIMIT_NOFILE, &limit) == 0);
    QCOMPARE(scanDescriptorBudget() > 0, keepingDescriptors);

    QTemporaryDir dir;
    const QString folder = dir.path();
    QVERIFY(QDir(folder).mkdir("bin"));
    install(folder, "trelvanix-churn-a", "/bin/sleep");
    install(folder, "trelvanix-churn-b", "/bin/sleep");
    install(folder, "bin/trelvanix-same", "/bin/sleep");
    install(folder, "sh", "/bin/sh");
    // The processes wait on pipes, which starts no process.
    for (const char *pipe : {"go-exec", "go-rename", "trelvanix-same.go"})
        QVERIFY(::mkfifo(QFile::encodeName(folder + '/' + pipe).constData(), 0600) == 0);
    // A script named as the program it then execs: the command name stays.
    QFile script(folder + "/trelvanix-same");
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nread go < \"$0.go\"\nexec \"${0%/*}/bin/trelvanix-same\" 600\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const auto awaiting = [&](const QString &pipe, const QString &then) {
        return QStringList{"-c", "read go < \"$0\"; " + then, folder + '/' + pipe};
    };
    const auto trigger = [&](const QString &pipe) { QVERIFY(release(folder + '/' + pipe)); };

    Processes processes(folder);
    ProcFsSnapshotSource remembering;
    std::vector<pid_t> ended;
    // Every scan of the remembering source is checked against a fresh one,
    // for the test's own processes, which nothing else changes meanwhile.
    const auto check = [&](const char *step) {
        const Listing seen = scan(remembering);
        ProcFsSnapshotSource fresh;
        const Listing truth = scan(fresh);
        const auto described = [&](const Listing &listing, pid_t pid) {
            const auto found = listing.find(quint32(pid));
            if (found == listing.end())
                return QStringLiteral("%1: %2 not listed").arg(step).arg(pid);
            return QStringLiteral("%1: %2 %3 %4")
                .arg(step)
                .arg(pid)
                .arg(QString::fromStdString(found->second.first))
                .arg(found->second.second.value_or(0));
        };
        for (const pid_t pid : processes.pids())
            QCOMPARE(described(seen, pid), described(truth, pid));
        for (const pid_t pid : ended)
            QVERIFY2(!seen.count(quint32(pid)) || truth.count(quint32(pid)), step);
    };

    const pid_t a = processes.start("trelvanix-churn-a");
    const pid_t execer =
        processes.start("sh", awaiting("go-exec", "exec \"${0%/*}/trelvanix-churn-b\" 600"));
    const pid_t wrapper = processes.start("trelvanix-same");
    const pid_t renamer = processes.start(
        "sh", awaiting("go-rename",
                       // The pipe may still have its writer when it is opened
                       // again, and then reads as ended: wait on it once more.
                       "printf renamed-now > /proc/$$/comm; while :; do read go < \"$0\"; done"));
    QVERIFY(a > 0 && execer > 0 && wrapper > 0 && renamer > 0);
    const std::string forksAtStart = forksMade();
    check("started");
    check("seen again, and followed by descriptors where they are kept");

    trigger("go-exec");
    QTRY_COMPARE(commOf(execer), std::string("trelvanix-churn\n"));
    check("after an exec under a new name");

    trigger("trelvanix-same.go");
    QTRY_COMPARE(QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(wrapper)),
                 folder + "/bin/trelvanix-same");
    QCOMPARE(commOf(wrapper), std::string("trelvanix-same\n"));
    check("after an exec under the same command name");

    trigger("go-rename");
    QTRY_COMPARE(commOf(renamer), std::string("renamed-now\n"));
    check("after a rename");

    QVERIFY(QFile::remove(folder + "/trelvanix-churn-a"));
    check("after the executable was removed");
    // Here nothing started since "started": only the first few scans listed,
    // unless a process forked elsewhere on the machine meanwhile.
    if (::getpid() == 1 && forksMade() == forksAtStart)
        QVERIFY(remembering.listings() < 6);

    const quint64 listed = remembering.listings();
    const pid_t once = processes.start("trelvanix-churn-b");
    QVERIFY(once > 0);
    check("after a start");
    QCOMPARE(remembering.listings(), listed + 1);

    // A process given an ID of its choosing while another ends leaves the
    // task count and the last ID given as they were: the forks counted tell.
    const pid_t leaving = processes.start("trelvanix-churn-b");
    QVERIFY(leaving > 0);
    check("before one ends as another starts at a chosen ID");
    processes.end(leaving);
    ended.push_back(leaving);
    QCOMPARE(processes.start("trelvanix-churn-b", {"600"}, leaving + 50), leaving + 50);
    check("after a start at a chosen ID while another ended");

    // Programs end and their IDs come back to processes of the same program,
    // for one seen once and one seen many times: the identity listed must be
    // the new process's start time, a clock tick or more after the old one.
    // Without set_tid an ID comes back only as the last ID given goes round,
    // which a plain start stands for here.
    ProcFsSnapshotSource fresh;
    const Listing before = scan(fresh);
    for (const pid_t pid : {once, a}) {
        processes.end(pid);
        ended.push_back(pid);
    }
    install(folder, "trelvanix-churn-a", "/bin/sleep");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    QCOMPARE(processes.start("trelvanix-churn-b", {"600"}, once), once);
    QCOMPARE(processes.start("trelvanix-churn-a", {"600"}, a), a);
    QVERIFY(processes.start("trelvanix-churn-b") > 0);
    check("after the IDs came back");
    const Listing after = scan(remembering);
    for (const pid_t pid : {once, a})
        QVERIFY(after.at(quint32(pid)).second != before.at(quint32(pid)).second);

    // What is kept open sits above the range that select() watches.
    int kept = 0;
    const QRegularExpression probe(QStringLiteral("^/proc/\\d+/(exe|stat)$"));
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System)) {
        if (!probe.match(fd.symLinkTarget()).hasMatch())
            continue;
        QVERIFY(fd.fileName().toInt() >= lowestKeptDescriptor);
        ++kept;
    }
    QCOMPARE(kept > 0, keepingDescriptors);

    QVERIFY(::setrlimit(RLIMIT_NOFILE, &saved) == 0);
}

QTEST_GUILESS_MAIN(ProcChurnTest)
#include "tst_procchurn.moc"
