// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Refresh on demand and monitoring, and what may run during a refresh's yields.
#include "app/Form1.h"
#include "app/ListView.h"
#include "app/YieldRule.h"
#include "common/Failure.h"
#include "support/FormFixture.h"
#include "support/RunningListView.h"
#include "tray/cSysTray.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <map>

using namespace std::chrono_literals;

namespace
{
int checkedRows(const ListView *list)
{
    int checked = 0;
    for (int position = 1; position <= list->count(); ++position)
        checked += list->isChecked(position) ? 1 : 0;
    return checked;
}

// The window's handlers stand for the commands; none is called.
const std::map<QString, YieldRule::Command> commands = {{"A", &Form1::PushButton6_Click},
                                                        {"B", &Form1::PushButton9_Click},
                                                        {"kill", &Form1::PushButton5_Click}};

// Plays the main window's part in these events: loaded (start-up over), refresh (asked for),
// done (a pass of the refresh over), tick, A, B and kill (presses), row (the kill pass at a
// row), killed (the kill pass over), input (on the running list), end (asked for). Logs what
// runs, and "-" and what is dropped.
QStringList play(const QString &events)
{
    YieldRule rule;
    QStringList log;
    const auto note = [&](bool dropped, const QString &event) {
        log << (dropped ? "-" : "") + event;
        return !dropped;
    };
    std::function<void(const QString &)> handle = [&](const QString &event) {
        if (event == "loaded")
            rule.startUpEnds();
        else if (event == "end")
            rule.endAskedFor();
        else if (event == "killed")
            rule.killPassEnds();
        else if (event == "row")
            note(!rule.killPassGoesOn(), event);
        else if (event == "input")
            note(rule.dropsListInput(), event);
        else if (event == "tick" && !note(rule.dropsTick(), event))
            return;
        else if (event == "refresh" || event == "tick") {
            if (rule.refreshStarts())
                log << QStringLiteral("refresh");
        } else if (event == "done" && rule.refreshRunsAgain()) {
            log << QStringLiteral("refresh");
        } else if (event == "done") {
            if (rule.refreshEnds())
                for (const YieldRule::Command command : rule.takeDeferred())
                    for (const auto &[name, known] : commands)
                        if (known == command)
                            handle(name);
        } else if (event == "kill" && rule.dropsKillPress()) {
            log << "-" + event;
        } else if (!rule.defers(commands.at(event))) {
            log << event;
            if (event == "kill")
                rule.killPassStarts();
        }
    };
    for (const QString &event : events.split(' ')) {
        handle(event);
        if (rule.endRuns() && !log.endsWith(QStringLiteral("end")))
            log << QStringLiteral("end");
    }
    return log;
}
} // namespace

class RefreshTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { fixture.tearDown(); }

    void refreshButtonRelistsClearsChecksAndKeepsTheTopRow();
    void refreshKeepsTheCurrentRowAndTheTopRow_data();
    void refreshKeepsTheCurrentRowAndTheTopRow();
    void automaticRefreshKeepsTheRowTheUserMovesTo();
    void failedProcessPassIsReportedAndTasksStillCome();
    void commandsPressedDuringARefreshRunAfterItNotInsideIt();
    void commandsPressedDuringARefreshRunInTheOrderPressed_data();
    void commandsPressedDuringARefreshRunInTheOrderPressed();
    void endAskedForWhileTicksKeepARefreshGoingEndsAfterIt();
    void listTakesNoKeysWhileItIsRebuilt();
    void yieldRuleDecidesWhatRunsWaitsOrIsDropped_data();
    void yieldRuleDecidesWhatRunsWaitsOrIsDropped();
    void optionsSwitchMonitoringAndAreSavedAtOnce();
    void timedRefreshRunsOnceTheDeadlineHasPassed();
    void failedTimedRefreshStillRestartsTheTimer();
    void editingTheIntervalPausesMonitoring();
    void leavingTheIntervalBoundsAndReadsIt_data();
    void leavingTheIntervalBoundsAndReadsIt();
    void nonNumericIntervalIsRefusedAndTheFocusGoesBack();
    void windowActivationIsNoFocusChange();
    void unreadableStoredIntervalStartsSafely_data();
    void unreadableStoredIntervalStartsSafely();

private:
    Form1 &showForm();
    // 2,000 rows "w0000" to "w1999" after the fixture's, shown, and row
    // `current` current with the row three above it at the top.
    Form1 &showWorkers(int current);
    void chooseAutomatic(const QString &interval);
    void leaveText1();

    FormFixture fixture;
};

void RefreshTest::init()
{
    fixture.setUp();
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
}

Form1 &RefreshTest::showForm()
{
    Form1 &form = *fixture.form;
    form.Form_Load();
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        qWarning("The window did not become active");
    return form;
}

QString worker(int number)
{
    return QStringLiteral("w%1").arg(number, 4, 10, QLatin1Char('0'));
}

int rowShowing(const ListView *list, const QString &name)
{
    for (int row = 0; row < list->model()->rowCount(); ++row)
        if (list->model()->index(row, 0).data().toString() == name)
            return row;
    return -1;
}

QString currentRow(const ListView *list)
{
    return list->currentIndex().data().toString();
}

QString topRow(const ListView *list)
{
    return list->indexAt({0, 0}).data().toString();
}

Form1 &RefreshTest::showWorkers(int current)
{
    for (int number = 0; number < 2000; ++number)
        fixture.processes->add(10000 + number, worker(number).toStdString());
    Form1 &form = showForm();
    ListView *list = form.ListView1;
    list->setFocus();
    const int row = rowShowing(list, worker(current));
    list->setCurrentIndex(list->model()->index(row, 0));
    list->scrollTo(list->model()->index(std::max(0, row - 3), 0), QAbstractItemView::PositionAtTop);
    return form;
}

void RefreshTest::chooseAutomatic(const QString &interval)
{
    Form1 &form = *fixture.form;
    form.Text1->setText(interval);
    QTest::mouseClick(form.Option4, Qt::LeftButton, {}, QPoint(8, form.Option4->height() / 2));
}

void RefreshTest::leaveText1()
{
    fixture.form->ListView1->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
}

void RefreshTest::refreshButtonRelistsClearsChecksAndKeepsTheTopRow()
{
    for (quint32 id = 1000; id < 1200; ++id)
        fixture.processes->add(id, "worker" + std::to_string(id));
    Form1 &form = showForm();
    form.ListView1->setChecked(5, true);
    form.ListView1->verticalScrollBar()->setValue(40);
    const auto topRow = [&form] { return form.ListView1->indexAt({0, 0}).data().toString(); };
    const QString top = topRow();
    fixture.processes->add(5000, "newcomer");
    fixture.windows->add(0x500001, QStringLiteral("Calculator"));

    QTest::mouseClick(form.PushButton1, Qt::LeftButton);
    QCOMPARE(form.ListView1->count(), 205);
    QCOMPARE(form.ListView1->text(2), QStringLiteral("Calculator"));
    QCOMPARE(form.ListView1->subItem(2, 2), QStringLiteral("Task"));
    QCOMPARE(checkedRows(form.ListView1), 0);
    QCOMPARE(form.ListView1->model()->rowCount(), 205);
    QCOMPARE(topRow(), top); // two rows came above it
    QVERIFY(form.ListView1->viewport()->updatesEnabled());
    QVERIFY(fixture.dialogs->boxes.empty());
}

void RefreshTest::refreshKeepsTheCurrentRowAndTheTopRow_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("change");
    for (const int current : {0, 1000, 1999})
        for (const char *change : {"same rows", "a row above", "current gone"})
            QTest::addRow("%s at %d", change, current) << current << QString::fromLatin1(change);
}

void RefreshTest::refreshKeepsTheCurrentRowAndTheTopRow()
{
    QFETCH(int, current);
    QFETCH(QString, change);
    Form1 &form = showWorkers(current);
    ListView *list = form.ListView1;
    list->setChecked(rowShowing(list, worker(current)) + 1, true);
    const QString top = topRow(list);
    QString expected = worker(current);
    if (change == QLatin1String("a row above")) {
        fixture.processes->add(9999, (worker(current - 1) + 'a').toStdString());
    } else if (change == QLatin1String("current gone")) {
        std::erase_if(fixture.processes->entries, [&](const ProcessEntry &entry) {
            return entry.processId == 10000u + current;
        });
        expected.clear();
    }

    const int place = list->currentIndex().row();
    form.PushButton1_Click();
    // A row that went gives its place to the row that now stands there.
    if (expected.isEmpty())
        expected = list->model()->index(place, 0).data().toString();
    QCOMPARE(currentRow(list), expected);
    QVERIFY(list->selectionModel()->isSelected(list->currentIndex()));
    // Where it is still listed, and the list still reaches that far down.
    const QScrollBar *scroll = list->verticalScrollBar();
    if (rowShowing(list, top) >= 0 && scroll->value() < scroll->maximum())
        QCOMPARE(topRow(list), top);
    QCOMPARE(checkedRows(list), 0);
}

void RefreshTest::automaticRefreshKeepsTheRowTheUserMovesTo()
{
    Form1 &form = showWorkers(1000);
    chooseAutomatic(QStringLiteral("0.5"));
    leaveText1();
    ListView *list = form.ListView1;
    const int snapshots = fixture.processes->snapshotsTaken;
    for (int step = 1; step <= 5; ++step) {
        QTest::keyClick(list, Qt::Key_Down);
        fixture.now += 600ms;
        form.Timer1_Timer();
        QCOMPARE(currentRow(list), worker(1000 + step));
    }
    QCOMPARE(fixture.processes->snapshotsTaken, snapshots + 5);
    // Space checks the row the user reached.
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(list->isChecked(rowShowing(list, worker(1005)) + 1));
}

void RefreshTest::failedProcessPassIsReportedAndTasksStillCome()
{
    Form1 &form = showForm();
    fixture.platform.processSnapshots = std::make_unique<FailingSnapshotSource>();
    fixture.windows->add(0x500001, QStringLiteral("Calculator"));
    form.PushButton1_Click();
    QCOMPARE(fixture.dialogs->reportedSteps(), QList<int>({100}));
    QVERIFY(fixture.dialogs->boxes[0].text.contains(
        QStringLiteral("Form1.PushButton1_Click at line 100")));
    QCOMPARE(form.ListView1->subItem(form.ListView1->count(), 2), QStringLiteral("Task"));
}

void RefreshTest::commandsPressedDuringARefreshRunAfterItNotInsideIt()
{
    Form1 &form = showForm();
    fixture.windows->add(0x500001, QStringLiteral("Calculator"));
    const int snapshots = fixture.processes->snapshotsTaken;
    // The second press of a double-click, and a selection command, wait in
    // the queue during the first refresh's yields.
    QMetaObject::invokeMethod(form.PushButton1, &QPushButton::click, Qt::QueuedConnection);
    QMetaObject::invokeMethod(form.PushButton7, &QPushButton::click, Qt::QueuedConnection);
    fixture.dialogs->answers = {QStringLiteral("CALC")};
    QTest::mouseClick(form.PushButton1, Qt::LeftButton);
    int calculators = 0;
    for (int position = 1; position <= form.ListView1->count(); ++position)
        calculators += form.ListView1->text(position) == QStringLiteral("Calculator") ? 1 : 0;
    QCOMPARE(calculators, 1);
    QCOMPARE(fixture.processes->snapshotsTaken, snapshots + 2);
    // The selection came after the rebuild, so it found the task row too.
    QTRY_COMPARE(checkedNames(form.ListView1), QStringList{QStringLiteral("Calculator")});
}

void RefreshTest::commandsPressedDuringARefreshRunInTheOrderPressed_data()
{
    QTest::addColumn<QString>("presses"); // A: Select All, N: Unselect All
    QTest::addColumn<bool>("allChecked");
    QTest::newRow("all, none, all") << "ANA" << true;
    QTest::newRow("none, all, none") << "NAN" << false;
    QTest::newRow("repeats in a row") << "AANNAA" << true;
}

void RefreshTest::commandsPressedDuringARefreshRunInTheOrderPressed()
{
    QFETCH(QString, presses);
    QFETCH(bool, allChecked);
    Form1 &form = showForm();
    for (const QChar press : presses)
        QMetaObject::invokeMethod(press == 'A' ? form.PushButton6 : form.PushButton9,
                                  &QPushButton::click, Qt::QueuedConnection);
    QTest::mouseClick(form.PushButton1, Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(checkedRows(form.ListView1), allChecked ? form.ListView1->count() : 0);
}

void RefreshTest::endAskedForWhileTicksKeepARefreshGoingEndsAfterIt()
{
    FormFixture::store(QStringLiteral("Option3"), QStringLiteral("False"));
    FormFixture::store(QStringLiteral("Option4"), QStringLiteral("True"));
    FormFixture::store(QStringLiteral("Text1"), QStringLiteral("0")); // every tick is due
    Form1 &form = showForm();
    const int snapshots = fixture.processes->snapshotsTaken;
    // A tick in each of the refresh's yields, as when a refresh lasts longer
    // than the interval; the first comes with the request to end.
    int ticks = 0;
    std::function<void()> tick = [&] {
        if (ticks++ == 0)
            form.requestEnd(Form1::EndRequest::ByUser);
        form.Timer1_Timer();
        if (ticks < 40)
            QMetaObject::invokeMethod(&form, tick, Qt::QueuedConnection);
    };
    QMetaObject::invokeMethod(&form, tick, Qt::QueuedConnection);
    form.PushButton1_Click();
    QVERIFY(fixture.processes->snapshotsTaken - snapshots <= 2);
    QTRY_VERIFY(!form.cSysTray1->InTray());
}

void RefreshTest::listTakesNoKeysWhileItIsRebuilt()
{
    Form1 &form = showForm();
    ListView *list = form.ListView1;
    const auto tickFirstRow = [list] {
        list->setCurrentIndex(list->model()->index(0, 0));
        QTest::keyClick(list, Qt::Key_Space);
    };
    QMetaObject::invokeMethod(list, tickFirstRow, Qt::QueuedConnection); // in the refresh's yields
    form.PushButton1_Click();
    QCOMPARE(checkedRows(list), 0);
    tickFirstRow();
    QCOMPARE(checkedRows(list), 1);
}

void RefreshTest::yieldRuleDecidesWhatRunsWaitsOrIsDropped_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("runs");
    QTest::newRow("commands wait in the order pressed, a repeat in a row collapsed")
        << "input refresh A A B input A B B done A input"
        << "input refresh -input A B A B A input";
    QTest::newRow("a refresh asked for again runs once after it")
        << "refresh refresh tick refresh done done"
        << "refresh tick refresh";
    QTest::newRow("commands wait for the repeat too") << "refresh A refresh done B done"
                                                      << "refresh refresh A B";
    QTest::newRow("a kill pass drops a second press and ticks, also in its refresh")
        << "loaded kill row kill tick refresh kill A input done killed tick"
        << "kill row -kill -tick refresh -kill -input A tick refresh";
    QTest::newRow("a kill pressed during a refresh waits for it") << "loaded refresh kill done kill"
                                                                  << "refresh kill -kill";
    QTest::newRow("an end waits for start-up and stops repeats and ticks")
        << "refresh tick end A tick refresh done input loaded"
        << "refresh tick -tick A input end";
    QTest::newRow("an end waits for a refresh") << "loaded refresh end input done"
                                                << "refresh -input end";
    QTest::newRow("an end stops a kill pass's walk and waits for its close")
        << "loaded kill row end row killed"
        << "kill row -row end";
    QTest::newRow("an end with nothing midway runs at once") << "loaded end"
                                                             << "end";
}

void RefreshTest::yieldRuleDecidesWhatRunsWaitsOrIsDropped()
{
    QFETCH(QString, events);
    QFETCH(QString, runs);
    QCOMPARE(play(events), runs.split(' '));
}

void RefreshTest::optionsSwitchMonitoringAndAreSavedAtOnce()
{
    Form1 &form = showForm();
    chooseAutomatic(QStringLiteral("3"));
    QVERIFY(form.Option4->isChecked());
    QVERIFY(form.Text1->isEnabled());
    QVERIFY(form.Timer1->isActive());
    QCOMPARE(form.Timer1->interval(), 100);
    QCOMPARE(form.nextRefreshTime, fixture.now + 3s);
    QCOMPARE(FormFixture::stored(QStringLiteral("Option3")).toString(), QStringLiteral("False"));
    QCOMPARE(FormFixture::stored(QStringLiteral("Option4")).toString(), QStringLiteral("True"));
    QCOMPARE(FormFixture::stored(QStringLiteral("Text1")).toString(), QStringLiteral("3"));

    QTest::mouseClick(form.Option3, Qt::LeftButton, {}, QPoint(8, form.Option3->height() / 2));
    QVERIFY(!form.Text1->isEnabled());
    QVERIFY(!form.Timer1->isActive());
    QCOMPARE(form.Timer1->interval(), 0);
    QCOMPARE(FormFixture::stored(QStringLiteral("Option3")).toString(), QStringLiteral("True"));
    QCOMPARE(FormFixture::stored(QStringLiteral("Option4")).toString(), QStringLiteral("False"));
}

void RefreshTest::timedRefreshRunsOnceTheDeadlineHasPassed()
{
    Form1 &form = showForm();
    chooseAutomatic(QStringLiteral("2"));
    const int before = fixture.processes->snapshotsTaken;
    fixture.now += 1900ms;
    form.Timer1_Timer();
    QCOMPARE(fixture.processes->snapshotsTaken, before);

    fixture.processes->add(5000, "newcomer");
    form.ListView1->setChecked(1, true);
    fixture.now += 100ms;
    form.Timer1_Timer();
    QCOMPARE(fixture.processes->snapshotsTaken, before + 1);
    QCOMPARE(fixture.windows->walks, 2);
    QCOMPARE(form.ListView1->count(), 4);
    QCOMPARE(checkedRows(form.ListView1), 0);
    QVERIFY(form.Timer1->isActive());
    QCOMPARE(form.nextRefreshTime, fixture.now + 2s);
    QVERIFY(fixture.dialogs->boxes.empty());

    // The real timer drives the same handler.
    fixture.now += 2s;
    QTRY_COMPARE(fixture.processes->snapshotsTaken, before + 2);
}

void RefreshTest::failedTimedRefreshStillRestartsTheTimer()
{
    Form1 &form = showForm();
    chooseAutomatic(QStringLiteral("1"));
    fixture.platform.processSnapshots = std::make_unique<FailingSnapshotSource>();
    fixture.now += 1s;
    form.Timer1_Timer();
    QCOMPARE(fixture.dialogs->reportedSteps(), QList<int>({104}));
    QVERIFY(
        fixture.dialogs->boxes[0].text.contains(QStringLiteral("Form1.Timer1_Timer at line 104")));
    QVERIFY(form.Timer1->isActive());
    QCOMPARE(form.nextRefreshTime, fixture.now + 1s);
}

void RefreshTest::editingTheIntervalPausesMonitoring()
{
    Form1 &form = showForm();
    QVERIFY(!form.Text1->hasFocus());
    chooseAutomatic(QStringLiteral("1"));
    form.Text1->setFocus(Qt::TabFocusReason);
    QVERIFY(!form.Timer1->isActive());
    QTest::keyClick(form.Text1, Qt::Key_End);
    QTest::keyClicks(form.Text1, QStringLiteral("0"));
    QCOMPARE(FormFixture::stored(QStringLiteral("Text1")).toString(), QStringLiteral("10"));
    fixture.now += 1h;
    QTest::qWait(250);
    QVERIFY(!form.Timer1->isActive());

    leaveText1();
    QVERIFY(form.Timer1->isActive());
    QCOMPARE(form.nextRefreshTime, fixture.now + 10s);
}

void RefreshTest::leavingTheIntervalBoundsAndReadsIt_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("milliseconds");
    QTest::newRow("below the bound") << "en_US"
                                     << "0.2"
                                     << "0.5" << 500;
    QTest::newRow("zero") << "en_US"
                          << "0"
                          << "0.5" << 500;
    QTest::newRow("negative") << "en_US"
                              << "-3"
                              << "0.5" << 500;
    QTest::newRow("the bound itself") << "en_US"
                                      << "0.5"
                                      << "0.5" << 500;
    QTest::newRow("comma in a point locale") << "en_US"
                                             << "2,5"
                                             << "2,5" << 2500;
    QTest::newRow("point in a comma locale") << "de_DE"
                                             << "2.5"
                                             << "2.5" << 2500;
    QTest::newRow("comma in a comma locale") << "de_DE"
                                             << "2,5"
                                             << "2,5" << 2500;
    QTest::newRow("bound in a comma locale") << "de_DE"
                                             << "0,1"
                                             << "0.5" << 500;
}

void RefreshTest::leavingTheIntervalBoundsAndReadsIt()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, milliseconds);
    QLocale::setDefault(QLocale(locale));
    Form1 &form = showForm();
    chooseAutomatic(QStringLiteral("1"));
    form.Text1->setFocus(Qt::TabFocusReason);
    form.Text1->setText(typed);
    leaveText1();
    QCOMPARE(form.Text1->text(), shown);
    QCOMPARE(FormFixture::stored(QStringLiteral("Text1")).toString(), shown);
    QVERIFY(form.Timer1->isActive());
    QCOMPARE(form.nextRefreshTime, fixture.now + std::chrono::milliseconds(milliseconds));
    QVERIFY(fixture.dialogs->boxes.empty());
}

void RefreshTest::nonNumericIntervalIsRefusedAndTheFocusGoesBack()
{
    Form1 &form = showForm();
    chooseAutomatic(QStringLiteral("1"));
    for (const char *typed : {"abc", "", "inf"}) {
        fixture.dialogs->boxes.clear();
        form.Text1->setFocus(Qt::TabFocusReason);
        form.Text1->setText(QString::fromLatin1(typed));
        leaveText1();
        QCOMPARE(fixture.dialogs->boxes.size(), 1u);
        QCOMPARE(fixture.dialogs->boxes[0].text, QStringLiteral("Must be a numeric value."));
        QCOMPARE(fixture.dialogs->boxes[0].title, QString()); // the application title
        QVERIFY(form.Text1->hasFocus());
        QVERIFY(!form.Timer1->isActive());
    }
    form.Text1->setText(QStringLiteral("4"));
    leaveText1();
    QVERIFY(form.Timer1->isActive());

    // With manual refresh chosen, leaving the box checks nothing.
    QTest::mouseClick(form.Option3, Qt::LeftButton, {}, QPoint(8, form.Option3->height() / 2));
    fixture.dialogs->boxes.clear();
    form.Text1->setEnabled(true);
    form.Text1->setFocus(Qt::TabFocusReason);
    form.Text1->setText(QStringLiteral("abc"));
    leaveText1();
    QVERIFY(fixture.dialogs->boxes.empty());
}

void RefreshTest::windowActivationIsNoFocusChange()
{
    Form1 &form = showForm();
    chooseAutomatic(QStringLiteral("1"));
    form.Text1->setFocus(Qt::TabFocusReason);
    form.Text1->setText(QStringLiteral("abc"));
    // Another window (or one of our boxes) takes the activation, then gives it back.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(form.Text1, &out);
    QCoreApplication::processEvents();
    QVERIFY(fixture.dialogs->boxes.empty());
    form.Text1->setText(QStringLiteral("2"));
    leaveText1();
    QVERIFY(form.Timer1->isActive());
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(form.Text1, &in);
    QVERIFY(form.Timer1->isActive());
}

void RefreshTest::unreadableStoredIntervalStartsSafely_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<double>("seconds");
    QTest::newRow("letters") << "abc" << 1.0;
    QTest::newRow("nan") << "nan" << 1.0;
    QTest::newRow("empty") << "" << 1.0;
    QTest::newRow("infinity") << "inf" << 1e8;
    QTest::newRow("too large for the clock") << "1e300" << 1e8;
    QTest::newRow("beyond a double") << "1e309" << 1.0;
    QTest::newRow("below a double") << "1e-400" << 1.0;
    // Below the shortest interval: raised to it, the text left as stored.
    QTest::newRow("negative infinity") << "-inf" << 0.5;
    QTest::newRow("negative") << "-5" << 0.5;
    QTest::newRow("zero") << "0" << 0.5;
    QTest::newRow("a hundredth") << "0.01" << 0.5;
    QTest::newRow("a nanosecond") << "1e-9" << 0.5;
    QTest::newRow("point") << "0.5" << 0.5;
    QTest::newRow("comma") << "0,5" << 0.5;
    QTest::newRow("spaces") << " 2 " << 2.0;
}

void RefreshTest::unreadableStoredIntervalStartsSafely()
{
    QFETCH(QString, stored);
    QFETCH(double, seconds);
    FormFixture::store(QStringLiteral("Option4"), QStringLiteral("True"));
    FormFixture::store(QStringLiteral("Text1"), stored);
    Form1 &form = showForm();
    QVERIFY(form.Timer1->isActive()); // the focus did not open on the interval box
    QCOMPARE(form.Text1->text(), stored);
    const auto expected = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::duration<double>(seconds));
    QCOMPARE(form.nextRefreshTime, fixture.now + expected);
    QVERIFY(fixture.dialogs->boxes.empty());
}

int runRefreshTests(int argc, char *argv[])
{
    RefreshTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_refresh.moc"
