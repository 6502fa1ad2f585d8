// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The process snapshot and termination on /proc: parsing its files, a /proc
// of the test's own, and the real /proc with processes this test starts and
// ends, also under a low descriptor limit.
#include "app/ListView.h"
#include "platform/linux/FileDescriptor.h"
#include "platform/linux/proc/ProcStat.h"
#include "platform/linux/proc/ProcessControl.h"
#include "platform/linux/proc/ProcessIds.h"
#include "platform/linux/proc/ProcessSnapshot.h"
#include "proc/ProcessPass.h"
#include "proc/TerminationBatch.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{
// Far below the 1,024 that many services and containers run with.
constexpr rlim_t lowDescriptorLimit = 256;
constexpr char sleepersVariable[] = "TRELVANIX_TEST_SLEEPERS";

// Sleeping processes that hold no descriptor of ours, ended and reaped by
// their PIDs when the object goes.
class Sleepers
{
public:
    explicit Sleepers(int count)
    {
        char program[] = "/bin/sleep";
        char seconds[] = "600";
        char *argv[] = {program, seconds, nullptr};
        for (int i = 0; i < count; ++i) {
            pid_t pid = 0;
            if (::posix_spawn(&pid, program, nullptr, nullptr, argv, environ) == 0)
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
    Sleepers(const Sleepers &) = delete;
    Sleepers &operator=(const Sleepers &) = delete;
    const std::vector<pid_t> &pids() const { return m_pids; }

private:
    std::vector<pid_t> m_pids;
};

class NoWindows : public WindowControl
{
public:
    void requestClose(WindowHandle) override {}
    void waitUntilClosed(const std::vector<WindowHandle> &, Deadline) override {}
};

bool hasEnded(pid_t pid)
{
    const auto stat =
        parseProcStat(readProcFile(AT_FDCWD, "/proc/" + std::to_string(pid) + "/stat"));
    return !stat || stat->state == 'Z';
}

// A /proc of its own: `shown` processes, named "tool-PID", with their stat
// and executable link; `closed` ones with their folder alone, as hidepid=1
// shows other users' processes.
void writeProcRoot(const QString &root, const QList<int> &shown, const QList<int> &closed)
{
    for (const int pid : shown) {
        const QString folder = QStringLiteral("%1/%2").arg(root).arg(pid);
        QDir().mkpath(folder);
        QFile stat(folder + QStringLiteral("/stat"));
        if (stat.open(QIODevice::WriteOnly))
            stat.write(QStringLiteral("%1 (tool-%1) S 0 %1 %1 0 -1 4194560 0 0 0 0 0 0 0 0 20 0 "
                                      "1 0 %1 0\n")
                           .arg(pid)
                           .toLatin1());
        QFile::link(QStringLiteral("/opt/tool-%1").arg(pid), folder + QStringLiteral("/exe"));
    }
    for (const int pid : closed)
        QDir().mkpath(QStringLiteral("%1/%2").arg(root).arg(pid));
}
bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// What tells a snapshot whether a task was created: the reader's namespace
// IDs, the last ID given and the forks made. No file where it is empty.
void writeTaskCount(
    const QString &root, const QByteArray &status, const QByteArray &loadavg,
    const QByteArray &stat = "cpu  1 2 3\nctxt 99\nprocesses 5021\nprocs_running 1\n")
{
    QDir(root).mkdir(QStringLiteral("self"));
    writeFile(root + QStringLiteral("/self/status"), status);
    if (!loadavg.isEmpty())
        writeFile(root + QStringLiteral("/loadavg"), loadavg);
    if (!stat.isEmpty())
        writeFile(root + QStringLiteral("/stat"), stat);
}
} // namespace

class ProcFsTest : public QObject
{
    Q_OBJECT

private slots:
    void parsesStatAfterTheLastParenthesis();
    void leavesOutZombiesAndKernelThreads();
    void rejectsMalformedStatLines();
    void namesFromExeLinkAndComm();
    void keepsWholeCharactersAndRealSuffixes_data();
    void keepsWholeCharactersAndRealSuffixes();

    void firstEntryIsTheLowestId();
    void taskStampOnlyWhereItCountsTheProcessesShown_data();
    void taskStampOnlyWhereItCountsTheProcessesShown();
    void listsAgainAfterARefreshThatCouldNotList();
    void nameWithoutAnExeLinkFollowsWhatItComesFrom_data();
    void nameWithoutAnExeLinkFollowsWhatItComesFrom();
    void everyProcessButTheSystemsOwnIsListed_data();
    void everyProcessButTheSystemsOwnIsListed();
    void listsAStartedProcessOnceUnderItsFullNameUntilItEnds();
    void deletedExecutableKeepsItsPlainName();
    void processThatExecsIsListedUnderItsNewName();
    void suffixLikeTheKernelsStaysWhileTheFileExists_data();
    void suffixLikeTheKernelsStaysWhileTheFileExists();
    void execBetweenProgramsOfTheSameCommandNameShowsTheNewOne();
    void endsOnlyTheProcessTheSnapshotSawAndWaitsForABatch();
    void endsThousandsUnderALowDescriptorLimit();

private:
    // The part of the test above that runs under the low limit.
    void endListedUnderTheLimit(const QByteArray &listed);
    // Starts a copy of sleep under `name`; the caller ends it.
    std::unique_ptr<QProcess> startSleeper(const QTemporaryDir &dir, const QString &name);
    // Each process's name as a snapshot taken now lists it; the identities
    // its entries carried stay for seenIdentity().
    std::multimap<quint32, std::string> snapshotNow();
    std::optional<quint64> seenIdentity(quint32 pid) const;

    ProcFsSnapshotSource source;
    std::map<quint32, std::optional<quint64>> m_seenIdentities;
};

std::unique_ptr<QProcess> ProcFsTest::startSleeper(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (!QFile::copy(QStringLiteral("/bin/sleep"), path))
        return nullptr;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    auto process = std::make_unique<QProcess>();
    process->start(path, {QStringLiteral("600")});
    if (!process->waitForStarted())
        return nullptr;
    return process;
}

std::multimap<quint32, std::string> ProcFsTest::snapshotNow()
{
    std::multimap<quint32, std::string> seen;
    m_seenIdentities.clear();
    const auto snapshot = source.takeSnapshot();
    ProcessEntry entry;
    for (bool more = snapshot->first(entry); more; more = snapshot->next(entry)) {
        seen.emplace(entry.processId, entry.exeFile);
        m_seenIdentities[entry.processId] = entry.identity;
    }
    return seen;
}

std::optional<quint64> ProcFsTest::seenIdentity(quint32 pid) const
{
    const auto found = m_seenIdentities.find(pid);
    return found == m_seenIdentities.end() ? std::nullopt : found->second;
}

void ProcFsTest::firstEntryIsTheLowestId()
{
    const auto snapshot = source.takeSnapshot();
    ProcessEntry first;
    QVERIFY(snapshot->first(first));
    ProcessEntry entry;
    int count = 1;
    while (snapshot->next(entry)) {
        QVERIFY(entry.processId > first.processId);
        ++count;
    }
    QVERIFY(count > 1);
}

void ProcFsTest::everyProcessButTheSystemsOwnIsListed_data()
{
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<QList<int>>("closed");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("init shown") << QList<int>{1, 57, 58} << QList<int>{}
                                << QStringList{"tool-57", "tool-58"};
    QTest::newRow("init hidden, as by hidepid=2")
        << QList<int>{57, 58} << QList<int>{} << QStringList{"tool-57", "tool-58"};
    QTest::newRow("init closed, as by hidepid=1")
        << QList<int>{57} << QList<int>{1, 2} << QStringList{"tool-57"};
    QTest::newRow("one process of the user's own")
        << QList<int>{4242} << QList<int>{} << QStringList{"tool-4242"};
    QTest::newRow("none") << QList<int>{} << QList<int>{} << QStringList{};
}

void ProcFsTest::everyProcessButTheSystemsOwnIsListed()
{
    QFETCH(QList<int>, shown);
    QFETCH(QList<int>, closed);
    QFETCH(QStringList, listed);
    QTemporaryDir root;
    writeProcRoot(root.path(), shown, closed);
    const QByteArray rootPath = QFile::encodeName(root.path());
    ProcFsSnapshotSource procRoot(rootPath.constData());
    ListView list;
    list.addColumn(QStringLiteral("Name"));
    loadProcesses(*list.listModel(), procRoot);
    QStringList names;
    for (int position = 1; position <= list.count(); ++position) {
        names.append(list.text(position));
        // Each test process starts at the tick of its own ID.
        QCOMPARE(list.identity(position), list.subItem(position, 1).toULongLong());
    }
    QCOMPARE(names, listed);
    ProcessEntry first;
    QVERIFY(procRoot.takeSnapshot()->first(first));
    QVERIFY(first.processId != 0 || !first.identity); // the stand-in is no process to end
}

void ProcFsTest::taskStampOnlyWhereItCountsTheProcessesShown_data()
{
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("loadavg");
    QTest::addColumn<QByteArray>("stat");
    QTest::addColumn<QString>("expected");
    const QByteArray own = "Name:\tt\nPid:\t4242\nNSpid:\t4242\nNSpgid:\t4242\n";
    const QByteArray loadavg = "0.00 0.01 0.05 1/111 17389\n";
    const QByteArray stat = "cpu  1 2 3\nctxt 99\nprocesses 5021\nprocs_running 1\n";
    QTest::newRow("the reader's own namespace") << own << loadavg << stat << "111 17389 5021";
    QTest::newRow("a parent namespace's /proc")
        << QByteArray("Pid:\t4242\nNSpid:\t4242\t7\n") << loadavg << stat << "";
    QTest::newRow("a kernel without NSpid") << QByteArray("Pid:\t4242\n") << loadavg << stat << "";
    QTest::newRow("no loadavg") << own << QByteArray() << stat << "";
    QTest::newRow("no stat") << own << loadavg << QByteArray() << "";
    QTest::newRow("no fork count") << own << loadavg << QByteArray("cpu  1 2 3\nctxt 99\n") << "";
}

void ProcFsTest::taskStampOnlyWhereItCountsTheProcessesShown()
{
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, loadavg);
    QFETCH(QByteArray, stat);
    QFETCH(QString, expected);
    QTemporaryDir root;
    writeProcRoot(root.path(), {1, 4242}, {});
    writeTaskCount(root.path(), status, loadavg, stat);
    const FileDescriptor procFd(
        ::open(QFile::encodeName(root.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    QCOMPARE(QString::fromStdString(taskStamp(procFd.get())), expected);
}

void ProcFsTest::listsAgainAfterARefreshThatCouldNotList()
{
    QTemporaryDir parent;
    const QString root = parent.filePath(QStringLiteral("proc"));
    writeProcRoot(root, {1, 4242}, {});
    writeTaskCount(root, "Pid:\t4242\nNSpid:\t4242\n", "0.00 0.01 0.05 1/111 17389\n");
    const QByteArray rootPath = QFile::encodeName(root);
    ProcFsSnapshotSource source(rootPath.constData());
    const auto listed = [&source] {
        QList<quint32> ids;
        const auto snapshot = source.takeSnapshot();
        ProcessEntry entry;
        for (bool more = snapshot->first(entry); more; more = snapshot->next(entry))
            ids << entry.processId;
        return ids;
    };
    QCOMPARE(listed(), (QList<quint32>{0, 4242}));
    QVERIFY(QDir(parent.path()).rename(QStringLiteral("proc"), QStringLiteral("away")));
    QCOMPARE(listed(), QList<quint32>{});
    QVERIFY(QDir(parent.path()).rename(QStringLiteral("away"), QStringLiteral("proc")));
    QCOMPARE(listed(), (QList<quint32>{0, 4242}));
}

void ProcFsTest::nameWithoutAnExeLinkFollowsWhatItComesFrom_data()
{
    QTest::addColumn<QByteArray>("comm");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("renamed");
    QTest::newRow("argv[0] under a cut command name") << QByteArray("fifteen-letters") << "cmdline"
                                                      << "fifteen-letters-other";
    QTest::newRow("the exe link can now be read") << QByteArray("tool") << "exe"
                                                  << "linked";
    QTest::newRow("the command name") << QByteArray("tool") << "stat"
                                      << "renamed";
}

void ProcFsTest::nameWithoutAnExeLinkFollowsWhatItComesFrom()
{
    QFETCH(QByteArray, comm);
    QFETCH(QString, change);
    QFETCH(QString, renamed);
    QTemporaryDir root;
    writeProcRoot(root.path(), {1}, {});
    const QString folder = root.filePath(QStringLiteral("4242"));
    QDir().mkpath(folder);
    const auto stat = [](const QByteArray &name) {
        return "4242 (" + name + ") S 0 1 1 0 -1 4194560 0 0 0 0 0 0 0 0 20 0 1 0 4242 0\n";
    };
    QVERIFY(writeFile(folder + QStringLiteral("/stat"), stat(comm)));
    QVERIFY(writeFile(folder + QStringLiteral("/cmdline"),
                      "/usr/bin/" + comm + QByteArray("-long\0-v\0", 9)));
    const QByteArray rootPath = QFile::encodeName(root.path());
    ProcFsSnapshotSource remembering(rootPath.constData());
    const auto nameOf = [](ProcessSnapshotSource &source) {
        const auto snapshot = source.takeSnapshot();
        ProcessEntry entry;
        snapshot->first(entry);
        return snapshot->next(entry) ? QString::fromUtf8(entry.exeFile) : QString();
    };
    nameOf(remembering);
    nameOf(remembering); // followed by a descriptor from here on
    if (change == QLatin1String("cmdline"))
        QVERIFY(writeFile(folder + QStringLiteral("/cmdline"), "/usr/bin/" + renamed.toUtf8()));
    else if (change == QLatin1String("exe"))
        QVERIFY(QFile::link(QStringLiteral("/opt/linked"), folder + QStringLiteral("/exe")));
    else
        QVERIFY(writeFile(folder + QStringLiteral("/stat"), stat(renamed.toUtf8())));
    ProcFsSnapshotSource fresh(rootPath.constData());
    QCOMPARE(nameOf(fresh), renamed);
    QCOMPARE(nameOf(remembering), renamed);
}

void ProcFsTest::listsAStartedProcessOnceUnderItsFullNameUntilItEnds()
{
    QTemporaryDir dir;
    const QString name = QStringLiteral("trelvanix-probe-with-a-rather-long-distinctive-name-%1")
                             .arg(QCoreApplication::applicationPid());
    auto sleeper = startSleeper(dir, name);
    QVERIFY(sleeper);
    const auto pid = static_cast<quint32>(sleeper->processId());

    const auto seen = snapshotNow();
    QCOMPARE(seen.count(pid), 1u);
    QCOMPARE(QString::fromStdString(seen.find(pid)->second), name);
    const auto started =
        parseProcStat(readProcFile(AT_FDCWD, "/proc/" + std::to_string(pid) + "/stat"))->startTime;
    QCOMPARE(seenIdentity(pid), started);

    ListView list;
    list.addColumn(QStringLiteral("Name"));
    loadProcesses(*list.listModel(), source);
    int rows = 0;
    for (int position = 1; position <= list.count(); ++position) {
        if (list.text(position) == name) {
            ++rows;
            QCOMPARE(list.subItem(position, 1), QString::number(pid));
            QCOMPARE(list.identity(position), started);
        }
    }
    QCOMPARE(rows, 1);

    sleeper->kill();
    QVERIFY(sleeper->waitForFinished());
    QCOMPARE(snapshotNow().count(pid), 0u);
    loadProcesses(*list.listModel(), source);
    for (int position = 1; position <= list.count(); ++position)
        QVERIFY(list.subItem(position, 1) != QString::number(pid)); // nor its identity
}

void ProcFsTest::deletedExecutableKeepsItsPlainName()
{
    QTemporaryDir dir;
    const QString name = QStringLiteral("trelvanix-removed-executable");
    auto sleeper = startSleeper(dir, name);
    QVERIFY(sleeper);
    QVERIFY(QFile::remove(dir.filePath(name)));
    const auto seen = snapshotNow();
    const auto found = seen.find(static_cast<quint32>(sleeper->processId()));
    QVERIFY(found != seen.end());
    QCOMPARE(QString::fromStdString(found->second), name);
    sleeper->kill();
    sleeper->waitForFinished();
}

void ProcFsTest::processThatExecsIsListedUnderItsNewName()
{
    QTemporaryDir dir;
    const QString after = QStringLiteral("trelvanix-after-exec-with-a-long-name");
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), dir.filePath(after)));
    QFile::setPermissions(dir.filePath(after), QFile::ReadOwner | QFile::ExeOwner);
    QProcess shell;
    shell.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("read line; exec \"$0\" 600"), dir.filePath(after)});
    QVERIFY(shell.waitForStarted());
    const auto pid = static_cast<quint32>(shell.processId());
    const QString shellName =
        QFileInfo(QStringLiteral("/bin/sh")).canonicalFilePath().section('/', -1);
    QTRY_COMPARE(QString::fromStdString(snapshotNow().find(pid)->second), shellName);

    shell.write("go\n");
    QTRY_VERIFY(QFile(QStringLiteral("/proc/%1/comm").arg(pid)).open(QIODevice::ReadOnly) &&
                snapshotNow().find(pid)->second == after.toStdString());
    shell.kill();
    shell.waitForFinished();
}

void ProcFsTest::suffixLikeTheKernelsStaysWhileTheFileExists_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QString>("listed");
    QTest::newRow("named so") << "trelvanix-x (deleted)" << false << "trelvanix-x (deleted)";
    QTest::newRow("named so, removed")
        << "trelvanix-y (deleted)" << true << "trelvanix-y (deleted)";
}

void ProcFsTest::suffixLikeTheKernelsStaysWhileTheFileExists()
{
    QFETCH(QString, fileName);
    QFETCH(bool, removed);
    QFETCH(QString, listed);
    QTemporaryDir dir;
    auto sleeper = startSleeper(dir, fileName);
    QVERIFY(sleeper);
    QVERIFY(!removed || QFile::remove(dir.filePath(fileName)));
    const auto seen = snapshotNow();
    const auto found = seen.find(static_cast<quint32>(sleeper->processId()));
    sleeper->kill();
    sleeper->waitForFinished();
    QVERIFY(found != seen.end());
    QCOMPARE(QString::fromStdString(found->second), listed);
}

void ProcFsTest::execBetweenProgramsOfTheSameCommandNameShowsTheNewOne()
{
    // Both names share their first 15 characters, so the kernel's command
    // name stays the same across the exec.
    QTemporaryDir dir;
    const QString before = QStringLiteral("trelvanix-exec-shell");
    const QString after = QStringLiteral("trelvanix-exec-sleeper");
    QVERIFY(QFile::copy(QStringLiteral("/bin/sh"), dir.filePath(before)));
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), dir.filePath(after)));
    for (const QString &name : {before, after})
        QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::ExeOwner);
    QProcess shell;
    shell.start(
        dir.filePath(before),
        {QStringLiteral("-c"), QStringLiteral("read line; exec \"$0\" 600"), dir.filePath(after)});
    QVERIFY(shell.waitForStarted());
    const auto pid = static_cast<quint32>(shell.processId());
    QTRY_COMPARE(QString::fromStdString(snapshotNow().find(pid)->second), before);

    shell.write("go\n");
    const QString exeLink = QStringLiteral("/proc/%1/exe").arg(pid);
    QTRY_COMPARE(QFileInfo(exeLink).symLinkTarget(), dir.filePath(after));
    const std::string listed = snapshotNow().find(pid)->second;
    shell.kill();
    shell.waitForFinished();
    QCOMPARE(QString::fromStdString(listed), after);
}

void ProcFsTest::endsOnlyTheProcessTheSnapshotSawAndWaitsForABatch()
{
    PidfdProcessControl control;
    std::vector<std::unique_ptr<QProcess>> sleepers;
    for (int i = 0; i < 10; ++i) {
        sleepers.push_back(std::make_unique<QProcess>());
        sleepers.back()->start(QStringLiteral("/bin/sleep"), {QStringLiteral("600")});
        QVERIFY(sleepers.back()->waitForStarted());
    }
    const pid_t zombie = ::fork(); // ended, not yet reaped
    if (zombie == 0)
        ::_exit(0);
    QTRY_VERIFY(
        parseProcStat(readProcFile(AT_FDCWD, "/proc/" + std::to_string(zombie) + "/stat"))->state ==
        'Z');
    snapshotNow();
    const auto zombieStart =
        parseProcStat(readProcFile(AT_FDCWD, "/proc/" + std::to_string(zombie) + "/stat"))
            ->startTime;
    QVERIFY(!control.open(static_cast<quint32>(zombie), zombieStart).handle);
    ::waitpid(zombie, nullptr, 0);

    std::vector<std::unique_ptr<ProcessHandle>> handles;
    std::vector<ProcessHandle *> batch;
    for (const auto &sleeper : sleepers) {
        const auto pid = static_cast<quint32>(sleeper->processId());
        const auto identity = seenIdentity(pid);
        QVERIFY(identity);
        QVERIFY(!control.open(pid, *identity + 1).handle); // the ID now names another process
        QVERIFY(!control.open(pid, std::nullopt).handle);
        handles.push_back(control.open(pid, identity).handle);
        QVERIFY(handles.back() && handles.back()->terminate(0));
        batch.push_back(handles.back().get());
    }
    control.waitUntilExited(batch, std::chrono::steady_clock::now() + std::chrono::seconds(10));
    for (const auto &sleeper : sleepers) {
        const auto stat = parseProcStat(
            readProcFile(AT_FDCWD, "/proc/" + std::to_string(sleeper->processId()) + "/stat"));
        QVERIFY(!stat || stat->state == 'Z'); // exited by the end of the one wait
        QVERIFY(sleeper->waitForFinished());
        QCOMPARE(sleeper->exitStatus(), QProcess::CrashExit);
    }
}

void ProcFsTest::endsThousandsUnderALowDescriptorLimit()
{
    const QByteArray listed = qgetenv(sleepersVariable);
    if (!listed.isEmpty()) {
        endListedUnderTheLimit(listed);
        return;
    }

    // The limit, hard and soft as `ulimit -n` sets them, goes to a copy of
    // this test alone; the processes stay ours, to end and reap.
    const Sleepers sleepers(3000);
    QCOMPARE(sleepers.pids().size(), 3000u);
    QByteArrayList pids;
    for (const pid_t pid : sleepers.pids())
        pids.append(QByteArray::number(pid));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(sleepersVariable), QString::fromLatin1(pids.join(' ')));
    QProcess copy;
    copy.setProcessEnvironment(environment);
    copy.setProcessChannelMode(QProcess::ForwardedChannels);
    copy.setChildProcessModifier([] {
        const rlimit limit{lowDescriptorLimit, lowDescriptorLimit};
        ::setrlimit(RLIMIT_NOFILE, &limit);
    });
    copy.start(QCoreApplication::applicationFilePath(),
               {QString::fromLatin1(QTest::currentTestFunction()), QStringLiteral("-silent")});
    QVERIFY(copy.waitForFinished(120000));
    QCOMPARE(copy.exitCode(), 0);
    QTRY_VERIFY(std::all_of(sleepers.pids().begin(), sleepers.pids().end(), hasEnded));
}

void ProcFsTest::endListedUnderTheLimit(const QByteArray &listed)
{
    rlimit limit{};
    QVERIFY(::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_max == lowDescriptorLimit);
    snapshotNow();
    PidfdProcessControl control;
    NoWindows windows;
    TerminationBatch batch(control, windows);
    QByteArrayList pids = listed.split(' ');
    const auto kept = static_cast<quint32>(pids.takeLast().toUInt());
    QByteArrayList unended;
    for (const QByteArray &pid : pids) {
        auto handle = batch.openListedProcess(pid.toInt(), seenIdentity(pid.toUInt()));
        const bool ended = handle && handle->terminate(0);
        if (!ended)
            unended.append(pid);
        batch.release(std::move(handle), ended);
    }
    batch.waitForAll(std::chrono::milliseconds(500));
    QCOMPARE(unended, QByteArrayList());

    // With no descriptor free, for the pidfd or for reading the stat after
    // it, an open says so rather than take the process for gone.
    const auto identity = seenIdentity(kept);
    std::vector<FileDescriptor> taken;
    for (FileDescriptor fd(::open("/dev/null", O_RDONLY)); fd.isValid();
         fd = FileDescriptor(::open("/dev/null", O_RDONLY)))
        taken.push_back(std::move(fd));
    const OpenedProcess noneFree = control.open(kept, identity);
    taken.pop_back();
    const OpenedProcess oneFree = control.open(kept, identity);
    taken.clear();
    QVERIFY(!noneFree.handle && noneFree.outOfHandles);
    QVERIFY(!oneFree.handle && oneFree.outOfHandles);
    const OpenedProcess opened = control.open(kept, identity);
    QVERIFY(opened.handle && opened.handle->terminate(0));
}

void ProcFsTest::parsesStatAfterTheLastParenthesis()
{
    const auto stat = parseProcStat(
        "1234 (we (ird) name) S 1 1234 1234 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 1 0 987654 "
        "1000 200 18446744073709551615 1 1 0 0 0 0 0 0 0 0 0 0 17 1 0 0 0 0 0\n");
    QVERIFY(stat);
    QCOMPARE(stat->comm, std::string("we (ird) name"));
    QCOMPARE(stat->state, 'S');
    QCOMPARE(stat->flags, 4194560u);
    QCOMPARE(stat->startTime, 987654u);
    QVERIFY(isListedProcess(*stat));
}

void ProcFsTest::leavesOutZombiesAndKernelThreads()
{
    const auto zombie = parseProcStat("9 (gone) Z 1 9 9 0 -1 4194564 0 0 0 0 0 0 0 0 20 0 1 0 5 0");
    const auto kthread =
        parseProcStat("2 (kthreadd) S 0 0 0 0 -1 2129984 0 0 0 0 0 0 0 0 20 0 1 0 3 0");
    QVERIFY(zombie && kthread);
    QVERIFY(!isListedProcess(*zombie));
    QVERIFY(!isListedProcess(*kthread));
}

void ProcFsTest::rejectsMalformedStatLines()
{
    QVERIFY(!parseProcStat(""));
    QVERIFY(!parseProcStat("12 (name"));
    QVERIFY(!parseProcStat("12 (name) S 1 2 3"));
    QVERIFY(!parseProcStat("12 (name) S 1 1 1 0 -1 x 0 0 0 0 0 0 0 0 20 0 1 0 5 0"));
}

void ProcFsTest::namesFromExeLinkAndComm()
{
    QCOMPARE(exeBaseName("/usr/bin/python3.11"), std::string("python3.11"));
    QCOMPARE(exeBaseName("/tmp/build/tool (deleted)"), std::string("tool"));
    QCOMPARE(nameFromCommAndArgv0("a-very-long-nam", "/opt/x/a-very-long-name-indeed"),
             std::string("a-very-long-name-indeed"));
    QCOMPARE(nameFromCommAndArgv0("short", "/opt/x/other"), std::string("short"));
    QCOMPARE(nameFromCommAndArgv0("a-very-long-nam", ""), std::string("a-very-long-nam"));
}

void ProcFsTest::keepsWholeCharactersAndRealSuffixes_data()
{
    QTest::addColumn<QByteArray>("linkTarget");
    QTest::addColumn<bool>("fileAtTarget");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("removed") << QByteArray("/tmp/tool (deleted)") << false << 255
                             << QByteArray("tool");
    QTest::newRow("named so") << QByteArray("/tmp/x (deleted)") << true << 255
                              << QByteArray("x (deleted)");
    QTest::newRow("named so, removed")
        << QByteArray("/tmp/x (deleted) (deleted)") << false << 255 << QByteArray("x (deleted)");
    QTest::newRow("cut before a 2-byte character")
        << QByteArray("/bin/ab\xc3\xa9") << false << 3 << QByteArray("ab");
    QTest::newRow("cut after a 2-byte character")
        << QByteArray("/bin/ab\xc3\xa9z") << false << 4 << QByteArray("ab\xc3\xa9");
    QTest::newRow("cut inside a 4-byte character")
        << QByteArray("/bin/a\xf0\x9f\x98\x80") << false << 4 << QByteArray("a");
    QTest::newRow("cut inside a 3-byte character")
        << QByteArray("/bin/\xe2\x9c\x93\xe2\x9c\x93") << false << 5 << QByteArray("\xe2\x9c\x93");
}

void ProcFsTest::keepsWholeCharactersAndRealSuffixes()
{
    QFETCH(QByteArray, linkTarget);
    QFETCH(bool, fileAtTarget);
    QFETCH(int, maxBytes);
    QFETCH(QByteArray, name);
    const std::string base = exeBaseName(linkTarget.toStdString(), fileAtTarget);
    QCOMPARE(QByteArray::fromStdString(std::string(utf8Prefix(base, std::size_t(maxBytes)))), name);
}

QTEST_MAIN(ProcFsTest)
#include "tst_procfs.moc"
