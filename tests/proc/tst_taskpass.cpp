#include "app/ListView.h"
#include "common/Failure.h"
#include "proc/TaskPass.h"
#include "support/FormFixture.h"

#include <QTest>

class TaskPassTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { fixture.tearDown(); }

    void onlyVisibleBorderedWindowsAreCandidates_data();
    void onlyVisibleBorderedWindowsAreCandidates();
    void listsTitledTasksAfterTheRowsAlreadyThere();
    void leavesOutStartAndMainWindowAndUntitledOnes();
    void sameTitleGivesTwoRowsWithTheirOwnIds();
    void tableStoresInZOrderAndResetsEachWalk();
    void handleShownAsSigned32BitDecimal();
    void windowGoneDuringTheWalkIsSkipped();
    void everyWindowIsListedWithoutReport_data();
    void everyWindowIsListedWithoutReport();

private:
    void fillTasks(int count);
    QStringList rowsOfType(const QString &type) const;

    void loadWindows() { fixture.form->loadWindows(); }

    // The main window's task pass over the fixture's desktop.
    FormFixture fixture;
    ListView *list = nullptr;
    FakeWindowWalk walk;
    TaskTable table;
};

void TaskPassTest::init()
{
    fixture.setUp();
    list = fixture.form->ListView1;
    list->setSorted(true);
    walk = FakeWindowWalk();
    table.reset();
}

void TaskPassTest::fillTasks(int count)
{
    for (int i = 0; i < count; ++i)
        fixture.windows->add(static_cast<WindowHandle>(0x400000 + i),
                             QStringLiteral("Window %1").arg(i));
}

QStringList TaskPassTest::rowsOfType(const QString &type) const
{
    QStringList rows;
    for (int i = 1; i <= list->count(); ++i)
        if (list->subItem(i, 2) == type)
            rows.append(list->text(i) + QLatin1Char('/') + list->subItem(i, 1));
    return rows;
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

void TaskPassTest::listsTitledTasksAfterTheRowsAlreadyThere()
{
    list->addRow(QStringLiteral("bash")).setSubItem(2, QStringLiteral("Process"));
    fixture.windows->add(0x200001, QStringLiteral("Calculator"));
    fixture.windows->add(0x200002, QStringLiteral("hidden one"), WindowWalk::styleBorder);
    fixture.windows->add(0x200003, QStringLiteral("Anchor"));
    loadWindows();
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->text(1), QStringLiteral("Anchor"));
    QCOMPARE(list->text(2), QStringLiteral("bash"));
    QCOMPARE(rowsOfType(QStringLiteral("Task")),
             QStringList({"Anchor/2097155", "Calculator/2097153"}));
    QVERIFY(fixture.dialogs->boxes.empty());
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

void TaskPassTest::sameTitleGivesTwoRowsWithTheirOwnIds()
{
    fixture.windows->add(0x300001, QStringLiteral("Twin"));
    fixture.windows->add(0x300002, QStringLiteral("Twin"));
    loadWindows();
    QCOMPARE(rowsOfType(QStringLiteral("Task")), QStringList({"Twin/3145729", "Twin/3145730"}));
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

void TaskPassTest::handleShownAsSigned32BitDecimal()
{
    fixture.windows->add(0xFFFFFFF0u, QStringLiteral("High handle"));
    loadWindows();
    QCOMPARE(list->subItem(1, 1), QStringLiteral("-16"));
    QCOMPARE(list->subItem(1, 2), QStringLiteral("Task"));
}

void TaskPassTest::windowGoneDuringTheWalkIsSkipped()
{
    fixture.windows->add(1, QStringLiteral("stays"));
    fixture.windows->add(2, QStringLiteral("closes"));
    fixture.windows->add(3, QStringLiteral("stays too"));
    fixture.windows->windows[1].gone = true;
    loadWindows();
    QCOMPARE(rowsOfType(QStringLiteral("Task")), QStringList({"stays/1", "stays too/3"}));
    QVERIFY(fixture.dialogs->boxes.empty());
}

void TaskPassTest::everyWindowIsListedWithoutReport_data()
{
    QTest::addColumn<int>("windows");
    QTest::newRow("none") << 0;
    QTest::newRow("1001") << 1001;
    QTest::newRow("1002") << 1002;
    QTest::newRow("5000") << 5000;
}

void TaskPassTest::everyWindowIsListedWithoutReport()
{
    QFETCH(int, windows);
    fillTasks(windows);
    loadWindows();
    QCOMPARE(list->count(), windows);
    QVERIFY(fixture.dialogs->boxes.empty());
    if (windows > 0) {
        const QString last =
            QStringLiteral("Window %1/%2").arg(windows - 1).arg(0x400000 + windows - 1);
        QVERIFY(rowsOfType(QStringLiteral("Task")).contains(last)); // the bottom one
    }
}

QTEST_MAIN(TaskPassTest)
#include "tst_taskpass.moc"
