#include "app/ListView.h"
#include "proc/ProcessPass.h"
#include "support/FakeProcessSnapshot.h"
#include "support/RunningListView.h"

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
    void rowsKeepTheirProcessIdentityInEveryOrder_data();
    void rowsKeepTheirProcessIdentityInEveryOrder();

private:
    std::unique_ptr<ListView> list;
    FakeProcessSnapshotSource processes;
};

void ProcessPassTest::init()
{
    list = makeRunningList();
    processes = FakeProcessSnapshotSource();
}

void ProcessPassTest::skipsTheFirstEntryEvenWhenOrdinary()
{
    processes.add(500, "editor");
    processes.add(600, "shell");
    loadProcesses(*list->listModel(), processes);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->text(1), QStringLiteral("shell"));
}

void ProcessPassTest::onlyEntryGivesAnEmptyList()
{
    processes.add(1, "init");
    loadProcesses(*list->listModel(), processes);
    QCOMPARE(list->count(), 0);
}

void ProcessPassTest::emptySnapshotGivesAnEmptyList()
{
    list->addRow(QStringLiteral("stale"));
    loadProcesses(*list->listModel(), processes);
    QCOMPARE(list->count(), 0);
}

void ProcessPassTest::listsNameSignedIdAndType()
{
    processes.add(1, "init");
    processes.add(4000000000u, "zeta");
    processes.add(42, "Alpha");
    loadProcesses(*list->listModel(), processes);
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
    loadProcesses(*list->listModel(), processes);
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
    loadProcesses(*list->listModel(), processes);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->text(1), list->text(2));
    QVERIFY(list->subItem(1, 1) != list->subItem(2, 1));
}

void ProcessPassTest::passLeavesNoCheckMarksAndReleasesTheSnapshot()
{
    processes.add(1, "init");
    processes.add(10, "a");
    processes.add(11, "b");
    loadProcesses(*list->listModel(), processes);
    list->setChecked(1, true);
    list->setChecked(2, true);
    loadProcesses(*list->listModel(), processes);
    QCOMPARE(list->count(), 2);
    QVERIFY(!list->isChecked(1));
    QVERIFY(!list->isChecked(2));
    QCOMPARE(processes.snapshotsTaken, 2);
    QCOMPARE(processes.snapshotsOpen, 0);
}

void ProcessPassTest::rowsKeepTheirProcessIdentityInEveryOrder_data()
{
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<int>("sortKey");
    QTest::newRow("unsorted") << false << 0;
    QTest::newRow("by name") << true << 0;
    QTest::newRow("by ID") << true << 1;
    QTest::newRow("by type") << true << 2;
}

void ProcessPassTest::rowsKeepTheirProcessIdentityInEveryOrder()
{
    QFETCH(bool, sorted);
    QFETCH(int, sortKey);
    processes.add(1, "init");
    processes.add(7, "b");
    processes.add(30, "a");
    processes.add(200, "c");
    loadProcesses(*list->listModel(), processes);
    // A row of another pass under the same ID has none.
    ListItem task = list->addRow(QStringLiteral("a window"));
    task.setSubItem(1, QStringLiteral("30"));
    task.setSubItem(2, QStringLiteral("Task"));
    list->setSorted(sorted);
    list->setSortKey(sortKey);
    QCoreApplication::processEvents(); // views learn of the rows
    for (int position = 1; position <= list->count(); ++position) {
        const std::optional<quint64> expected =
            list->subItem(position, 2) == QLatin1String("Process")
                ? std::optional(processes.startTime(list->subItem(position, 1).toUInt()))
                : std::nullopt;
        QCOMPARE(list->identity(position), expected);
        const QVariant shown = list->model()->index(position - 1, 0).data(ListModel::IdentityRole);
        QCOMPARE(shown.isValid() ? std::optional(shown.value<quint64>()) : std::nullopt, expected);
    }
}

QTEST_MAIN(ProcessPassTest)
#include "tst_processpass.moc"
