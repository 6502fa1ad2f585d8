// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The task walk: which windows are tasks, and the table of one walk.
#include "common/Failure.h"
#include "platform/OwnProgram.h"
#include "proc/TaskPass.h"
#include "support/FakeWindows.h"

#include <QTest>

class TaskPassTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void onlyVisibleBorderedWindowsAreCandidates_data();
    void onlyVisibleBorderedWindowsAreCandidates();
    void leavesOutStartAndMainWindowAndUntitledOnes();
    void tableStoresInZOrderAndResetsEachWalk();
    void ownProgramIsToldByProcessHandleOrNameAndTitle();

private:
    FakeWindowWalk walk;
    TaskTable table;
};

void TaskPassTest::init()
{
    walk = FakeWindowWalk();
    table.reset();
}

void TaskPassTest::onlyVisibleBorderedWindowsAreCandidates_data()
{
    QTest::addColumn<quint32>("style");
    QTest::addColumn<bool>("candidate");
    QTest::newRow("visible and bordered") << 0x10800000u << true;
    QTest::newRow("with more bits") << 0x16CF0000u << true;
    QTest::newRow("hidden") << 0x00800000u << false;
    QTest::newRow("borderless pop-up") << 0x90000000u << false;
    QTest::newRow("gone") << 0u << false;
}

void TaskPassTest::onlyVisibleBorderedWindowsAreCandidates()
{
    QFETCH(quint32, style);
    QFETCH(bool, candidate);
    walk.add(7, QString(), style);
    QCOMPARE(isTaskWindow(walk, 7), candidate);
}

void TaskPassTest::leavesOutStartAndMainWindowAndUntitledOnes()
{
    walk.add(0x100, QStringLiteral("The start window"));
    walk.add(0x101, QStringLiteral("Trelvanix"));
    walk.add(0x102, QString());
    walk.add(0x103, QStringLiteral("Message"));
    QCOMPARE(enumTopWindows(walk, table, 0x100, 0x101), 1);
    QCOMPARE(table.at(0).Name, QStringLiteral("Message"));
}

void TaskPassTest::tableStoresInZOrderAndResetsEachWalk()
{
    walk.add(1, QStringLiteral("top"));
    walk.add(2, QStringLiteral("middle"));
    walk.add(3, QStringLiteral("bottom"));
    QCOMPARE(enumTopWindows(walk, table, 0, 0), 3);
    QCOMPARE(table.at(0).ID, 1);
    QCOMPARE(table.at(2).Name, QStringLiteral("bottom"));
    walk.windows.erase(walk.windows.begin());
    QCOMPARE(enumTopWindows(walk, table, 0, 0), 2);
    QCOMPARE(table.at(0).Name, QStringLiteral("middle"));
    QVERIFY_THROWS_EXCEPTION(IndexFailure, table.at(2));
    QVERIFY_THROWS_EXCEPTION(IndexFailure, table.at(-1));
}

QTEST_MAIN(TaskPassTest)
void TaskPassTest::ownProgramIsToldByProcessHandleOrNameAndTitle()
{
    using Seen = OwnProgram::Seen;
    const qint64 ours = QCoreApplication::applicationPid();
    OwnProgram own({7}, {QStringLiteral("trelvanix")}, {QStringLiteral("Trelvanix")});
    const struct {
        Seen seen;
        bool owned;
    } rows[] = {
        {Seen::process(ours), true},
        {Seen::process(ours + 1), false},
        {Seen::window(7), true},
        {Seen::window(8), false},
        // A process ID settles it, whatever the window calls itself.
        {Seen::named(ours + 1, QStringLiteral("trelvanix"), QStringLiteral("Trelvanix")), false},
        {Seen::named(std::nullopt, QStringLiteral("other"), QStringLiteral("Trelvanix")), false},
        {Seen::named(std::nullopt, QStringLiteral("trelvanix"), QStringLiteral("other")), false},
        // We show that title once: a second window showing it is another's.
        {Seen::named(std::nullopt, QStringLiteral("TRELVANIX"), QStringLiteral("trelvanix")), true},
        {Seen::named(std::nullopt, QStringLiteral("trelvanix"), QStringLiteral("Trelvanix")),
         false},
    };
    for (const auto &row : rows)
        QCOMPARE(own.owns(row.seen), row.owned);
}

#include "tst_taskpass.moc"
