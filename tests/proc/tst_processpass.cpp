// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

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

    void listsTheFirstEntryWhenOrdinary();
    void onlyEntryGivesAnEmptyList();
    void emptySnapshotGivesAnEmptyList();
    void listsNameSignedIdAndType();
    void nameFieldWithoutNulGivesEmptyNameAndValidId();
    void alikeNamesGiveTwoRows();
    void passLeavesNoCheckMarksAndReleasesTheSnapshot();
    void rowsKeepTheirProcessIdentityInEveryOrder_data();
    void rowsKeepTheirProcessIdentityInEveryOrder();
    void textsKeptFromTheLastPassNeverOutliveTheirProcess_data();
    void textsKeptFromTheLastPassNeverOutliveTheirProcess();

private:
    std::unique_ptr<ListView> list;
    FakeProcessSnapshotSource processes;
};

void ProcessPassTest::init()
{
    list = makeRunningList();
    processes = FakeProcessSnapshotSource();
}

// Only an idle entry, ID 0, stands for the system; Wine's snapshot starts
// with a process like the others.
void ProcessPassTest::listsTheFirstEntryWhenOrdinary()
{
    processes.add(500, "editor");
    processes.add(600, "shell");
    loadProcesses(*list->listModel(), processes);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->text(1), QStringLiteral("editor"));
}

void ProcessPassTest::onlyEntryGivesAnEmptyList()
{
    processes.add(0, "[System Process]");
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
    processes.add(0, "[System Process]");
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
    processes.add(0, "[System Process]");
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
    processes.add(0, "[System Process]");
    processes.add(10, "worker");
    processes.add(11, "worker");
    loadProcesses(*list->listModel(), processes);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->text(1), list->text(2));
    QVERIFY(list->subItem(1, 1) != list->subItem(2, 1));
}

void ProcessPassTest::passLeavesNoCheckMarksAndReleasesTheSnapshot()
{
    processes.add(0, "[System Process]");
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
    processes.add(0, "[System Process]");
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

namespace
{
// "id:name" for each entry; "id:" followed by nothing stands for a field without a NUL.
void fillTable(FakeProcessSnapshotSource &processes, const QStringList &table)
{
    processes.entries.clear();
    processes.add(0, "[System Process]");
    for (const QString &entry : table) {
        const auto id = entry.section(u':', 0, 0).toUInt();
        if (entry.endsWith(u':'))
            processes.addWithoutNul(id);
        else
            processes.add(id, entry.section(u':', 1).toStdString());
    }
}

QStringList rowsOf(const ListView &list)
{
    QStringList rows;
    for (int position = 1; position <= list.count(); ++position)
        rows << list.subItem(position, 1) + u':' + list.text(position);
    return rows;
}
} // namespace

void ProcessPassTest::textsKeptFromTheLastPassNeverOutliveTheirProcess_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    const QStringList first{"5:alpha", "9:a-name-longer-than-sixteen", "12:beta", "30:gamma"};
    QTest::newRow("unchanged") << first << first;
    QTest::newRow("renamed under the same ID")
        << first << QStringList{"5:alpha", "9:a-name-longer-than-sixteen", "12:delta", "30:gamma"};
    QTest::newRow("new IDs between and gone ones")
        << first << QStringList{"4:new", "5:alpha", "7:beta", "30:gamma", "31:alpha"};
    QTest::newRow("a name field loses its NUL")
        << first << QStringList{"5:", "9:a-name-longer-than-sixteen", "12:beta"};
    QTest::newRow("a name field gets one back") << QStringList{"5:", "12:"} << first;
    QTest::newRow("out of ID order")
        << first << QStringList{"30:gamma", "12:beta", "5:omega", "9:alpha", "3:beta"};
}

void ProcessPassTest::textsKeptFromTheLastPassNeverOutliveTheirProcess()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    ProcessRowTexts texts;
    fillTable(processes, first);
    loadProcesses(*list->listModel(), processes, texts);
    fillTable(processes, second);
    loadProcesses(*list->listModel(), processes, texts);
    const QStringList kept = rowsOf(*list);
    loadProcesses(*list->listModel(), processes);
    QCOMPARE(kept, rowsOf(*list));
    QCOMPARE(kept.size(), second.size());
}

QTEST_MAIN(ProcessPassTest)
#include "tst_processpass.moc"
