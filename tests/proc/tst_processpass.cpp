#include "app/ListView.h"
#include "platform/linux/ProcStat_linux.h"
#include "proc/ProcessPass.h"
#include "support/FakeProcessSnapshot.h"

#include <QTest>

class ProcessPassTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void skipsTheFirstEntryEvenWhenOrdinary();
    void onlyEntryGivesAnEmptyList();
    void emptySnapshotGivesAnEmptyList();
    void listsNameSignedIdAndType();
    void nameFieldWithoutNulGivesEmptyNameAndValidId();
    void alikeNamesGiveTwoRows();
    void passLeavesNoCheckMarksAndReleasesTheSnapshot();

    void parsesStatAfterTheLastParenthesis();
    void leavesOutZombiesAndKernelThreads();
    void rejectsMalformedStatLines();
    void namesFromExeLinkAndComm();

private:
    std::unique_ptr<ListView> list;
    FakeProcessSnapshotSource processes;
};

void ProcessPassTest::init()
{
    list = std::make_unique<ListView>();
    for (const char *header : {"Running Processes/Tasks", "ID", "Type"})
        list->addColumn(QString::fromLatin1(header));
    list->setCheckBoxes(true);
    list->setSorted(true);
    list->setSortKey(0);
    processes = FakeProcessSnapshotSource();
}

void ProcessPassTest::skipsTheFirstEntryEvenWhenOrdinary()
{
    processes.add(500, "editor");
    processes.add(600, "shell");
    loadProcesses(*list, processes);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->text(1), QStringLiteral("shell"));
}

void ProcessPassTest::onlyEntryGivesAnEmptyList()
{
    processes.add(1, "init");
    loadProcesses(*list, processes);
    QCOMPARE(list->count(), 0);
}

void ProcessPassTest::emptySnapshotGivesAnEmptyList()
{
    list->addRow(QStringLiteral("stale"));
    loadProcesses(*list, processes);
    QCOMPARE(list->count(), 0);
}

void ProcessPassTest::listsNameSignedIdAndType()
{
    processes.add(1, "init");
    processes.add(4000000000u, "zeta");
    processes.add(42, "Alpha");
    loadProcesses(*list, processes);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->text(1), QStringLiteral("Alpha"));
    QCOMPARE(list->subItem(1, 1), QStringLiteral("42"));
    QCOMPARE(list->subItem(1, 2), QStringLiteral("Process"));
    QCOMPARE(list->subItem(2, 1), QStringLiteral("-294967296"));
}

void ProcessPassTest::nameFieldWithoutNulGivesEmptyNameAndValidId()
{
    processes.add(1, "init");
    processes.addWithoutNul(77);
    processes.add(78, std::string(259, 'n'));
    loadProcesses(*list, processes);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->text(1), QString());
    QCOMPARE(list->subItem(1, 1), QStringLiteral("77"));
    QCOMPARE(list->text(2), QString(259, 'n'));
}

void ProcessPassTest::alikeNamesGiveTwoRows()
{
    processes.add(1, "init");
    processes.add(10, "worker");
    processes.add(11, "worker");
    loadProcesses(*list, processes);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->text(1), list->text(2));
    QVERIFY(list->subItem(1, 1) != list->subItem(2, 1));
}

void ProcessPassTest::passLeavesNoCheckMarksAndReleasesTheSnapshot()
{
    processes.add(1, "init");
    processes.add(10, "a");
    processes.add(11, "b");
    loadProcesses(*list, processes);
    list->setChecked(1, true);
    list->setChecked(2, true);
    loadProcesses(*list, processes);
    QCOMPARE(list->count(), 2);
    QVERIFY(!list->isChecked(1));
    QVERIFY(!list->isChecked(2));
    QCOMPARE(processes.snapshotsTaken, 2);
    QCOMPARE(processes.snapshotsOpen, 0);
}

void ProcessPassTest::parsesStatAfterTheLastParenthesis()
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

void ProcessPassTest::leavesOutZombiesAndKernelThreads()
{
    const auto zombie = parseProcStat("9 (gone) Z 1 9 9 0 -1 4194564 0 0 0 0 0 0 0 0 20 0 1 0 5 0");
    const auto kthread =
        parseProcStat("2 (kthreadd) S 0 0 0 0 -1 2129984 0 0 0 0 0 0 0 0 20 0 1 0 3 0");
    QVERIFY(zombie && kthread);
    QVERIFY(!isListedProcess(*zombie));
    QVERIFY(!isListedProcess(*kthread));
}

void ProcessPassTest::rejectsMalformedStatLines()
{
    QVERIFY(!parseProcStat(""));
    QVERIFY(!parseProcStat("12 (name"));
    QVERIFY(!parseProcStat("12 (name) S 1 2 3"));
    QVERIFY(!parseProcStat("12 (name) S 1 1 1 0 -1 x 0 0 0 0 0 0 0 0 20 0 1 0 5 0"));
}

void ProcessPassTest::namesFromExeLinkAndComm()
{
    QCOMPARE(exeBaseName("/usr/bin/python3.11"), std::string("python3.11"));
    QCOMPARE(exeBaseName("/tmp/build/tool (deleted)"), std::string("tool"));
    QCOMPARE(nameFromCommAndArgv0("a-very-long-nam", "/opt/x/a-very-long-name-indeed"),
             std::string("a-very-long-name-indeed"));
    QCOMPARE(nameFromCommAndArgv0("short", "/opt/x/other"), std::string("short"));
    QCOMPARE(nameFromCommAndArgv0("a-very-long-nam", ""), std::string("a-very-long-nam"));
}

QTEST_MAIN(ProcessPassTest)
#include "tst_processpass.moc"
