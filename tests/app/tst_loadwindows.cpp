// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's task pass: the desktop's titled windows appended to the
// running list as Task rows.
#include "app/Form1.h"
#include "app/ListView.h"
#include "support/FormFixture.h"

#include <QTest>

class LoadWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { fixture.tearDown(); }

    void listsTitledTasksAfterTheRowsAlreadyThere();
    void sameTitleGivesTwoRowsWithTheirOwnIds();
    void handleShownAsSigned32BitDecimal();
    void windowGoneDuringTheWalkIsSkipped();
    void everyWindowIsListedWithoutReport_data();
    void everyWindowIsListedWithoutReport();

private:
    void fillTasks(int count);
    QStringList rowsOfType(const QString &type) const;

    FormFixture fixture;
    ListView *list = nullptr;
};

void LoadWindowsTest::init()
{
    fixture.setUp();
    list = fixture.form->ListView1;
    list->setSorted(true);
}

void LoadWindowsTest::fillTasks(int count)
{
    for (int i = 0; i < count; ++i)
        fixture.windows->add(static_cast<WindowHandle>(0x400000 + i),
                             QStringLiteral("Window %1").arg(i));
}

QStringList LoadWindowsTest::rowsOfType(const QString &type) const
{
    QStringList rows;
    for (int i = 1; i <= list->count(); ++i)
        if (list->subItem(i, 2) == type)
            rows.append(list->text(i) + QLatin1Char('/') + list->subItem(i, 1));
    return rows;
}

void LoadWindowsTest::listsTitledTasksAfterTheRowsAlreadyThere()
{
    list->addRow(QStringLiteral("bash")).setSubItem(2, QStringLiteral("Process"));
    fixture.windows->add(0x200001, QStringLiteral("Calculator"));
    fixture.windows->add(0x200002, QStringLiteral("hidden one"), WindowWalk::styleBorder);
    fixture.windows->add(0x200003, QStringLiteral("Anchor"));
    fixture.form->loadWindows();
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->text(1), QStringLiteral("Anchor"));
    QCOMPARE(list->text(2), QStringLiteral("bash"));
    QCOMPARE(rowsOfType(QStringLiteral("Task")),
             QStringList({"Anchor/2097155", "Calculator/2097153"}));
    QVERIFY(fixture.dialogs->boxes.empty());
}

void LoadWindowsTest::sameTitleGivesTwoRowsWithTheirOwnIds()
{
    fixture.windows->add(0x300001, QStringLiteral("Twin"));
    fixture.windows->add(0x300002, QStringLiteral("Twin"));
    fixture.form->loadWindows();
    QCOMPARE(rowsOfType(QStringLiteral("Task")), QStringList({"Twin/3145729", "Twin/3145730"}));
}

void LoadWindowsTest::handleShownAsSigned32BitDecimal()
{
    fixture.windows->add(0xFFFFFFF0u, QStringLiteral("High handle"));
    fixture.form->loadWindows();
    QCOMPARE(list->subItem(1, 1), QStringLiteral("-16"));
    QCOMPARE(list->subItem(1, 2), QStringLiteral("Task"));
}

void LoadWindowsTest::windowGoneDuringTheWalkIsSkipped()
{
    fixture.windows->add(1, QStringLiteral("stays"));
    fixture.windows->add(2, QStringLiteral("closes"));
    fixture.windows->add(3, QStringLiteral("stays too"));
    fixture.windows->windows[1].gone = true;
    fixture.form->loadWindows();
    QCOMPARE(rowsOfType(QStringLiteral("Task")), QStringList({"stays/1", "stays too/3"}));
    QVERIFY(fixture.dialogs->boxes.empty());
}

void LoadWindowsTest::everyWindowIsListedWithoutReport_data()
{
    QTest::addColumn<int>("windows");
    QTest::newRow("none") << 0;
    QTest::newRow("1001") << 1001;
    QTest::newRow("1002") << 1002;
    QTest::newRow("5000") << 5000;
}

void LoadWindowsTest::everyWindowIsListedWithoutReport()
{
    QFETCH(int, windows);
    fillTasks(windows);
    fixture.form->loadWindows();
    QCOMPARE(list->count(), windows);
    QVERIFY(fixture.dialogs->boxes.empty());
    if (windows > 0) {
        const QString last =
            QStringLiteral("Window %1/%2").arg(windows - 1).arg(0x400000 + windows - 1);
        QVERIFY(rowsOfType(QStringLiteral("Task")).contains(last)); // the bottom one
    }
}

int runLoadWindowsTests(int argc, char *argv[])
{
    LoadWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_loadwindows.moc"
