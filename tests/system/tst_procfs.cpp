// The process snapshot on the real /proc, with processes this test starts and ends.
#include "app/ListView.h"
#include "platform/linux/ProcessSnapshot_linux.h"
#include "proc/ProcessPass.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>

class ProcFsTest : public QObject
{
    Q_OBJECT

private slots:
    void firstEntryIsTheLowestId();
    void listsAStartedProcessOnceUnderItsFullNameUntilItEnds();
    void deletedExecutableKeepsItsPlainName();

private:
    // Starts a copy of sleep under `name`; the caller ends it.
    std::unique_ptr<QProcess> startSleeper(const QTemporaryDir &dir, const QString &name);
    std::multimap<quint32, std::string> snapshotNow();

    ProcFsSnapshotSource source;
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
    const auto snapshot = source.takeSnapshot();
    ProcessEntry entry;
    for (bool more = snapshot->first(entry); more; more = snapshot->next(entry))
        seen.emplace(entry.processId, entry.exeFile);
    return seen;
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
    QVERIFY(source.identityAtSnapshot(pid).has_value());

    ListView list;
    list.addColumn(QStringLiteral("Name"));
    loadProcesses(list, source);
    int rows = 0;
    for (int position = 1; position <= list.count(); ++position) {
        if (list.text(position) == name) {
            ++rows;
            QCOMPARE(list.subItem(position, 1), QString::number(pid));
        }
    }
    QCOMPARE(rows, 1);

    sleeper->kill();
    QVERIFY(sleeper->waitForFinished());
    QCOMPARE(snapshotNow().count(pid), 0u);
    QVERIFY(!source.identityAtSnapshot(pid).has_value());
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

QTEST_MAIN(ProcFsTest)
#include "tst_procfs.moc"
