// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The selection commands and "Kill Selected Processes".
#include "app/Form1.h"
#include "app/ListView.h"
#include "support/FormFixture.h"
#include "support/RunningListView.h"
#include "tray/cSysTray.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace
{
using Names = QStringList;
constexpr WindowHandle calculator = 0x500001;
constexpr WindowHandle editor = 0x500002;

void check(ListView *list, const Names &names)
{
    for (int position = 1; position <= list->count(); ++position)
        if (names.contains(list->text(position)))
            list->setChecked(position, true);
}
} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { fixture.tearDown(); }

    void selectAllAndUnselectAllLeaveTheKillListAlone();
    void textCommandsMarkByNameOnly_data();
    void textCommandsMarkByNameOnly();
    void textCommandsOnlyAddMarks();

    void passEndsProcessesAndClosesTasksInListOrderThenRefreshes();
    void failingRowsGetOneBoxEachAndThePassGoesOn();
    void unreadableRowIsLeftAloneAtItsStep_data();
    void unreadableRowIsLeftAloneAtItsStep();
    void nothingRebuildsOrRestartsThePassWhileABoxIsOpen();
    void passWithNothingCheckedOnlyRefreshesAndIgnoresASecondPress();
    void ownRowGoesLastAndEndsTheProgramAsACloseDoes();
    void endRequestedDuringAPassEndsNoFurtherRow();
    void checkedRowWhoseTargetIsAlreadyGone_data();
    void checkedRowWhoseTargetIsAlreadyGone();
    void passOverMoreProcessesThanFreeHandlesEndsThemAll_data();
    void passOverMoreProcessesThanFreeHandlesEndsThemAll();

private:
    Form1 &loadedForm();

    FormFixture fixture;
};

void CommandsTest::init()
{
    fixture.setUp();
    fixture.processes->add(400, "chrome.exe");
    fixture.processes->add(401, "a*b?c");
    fixture.windows->add(calculator, QStringLiteral("Calculator"));
    fixture.windows->add(editor, QStringLiteral("Editor"));
}

Form1 &CommandsTest::loadedForm()
{
    fixture.form->Form_Load();
    fixture.form->show();
    if (!QTest::qWaitForWindowExposed(fixture.form.get()))
        qWarning("The window was not shown");
    return *fixture.form;
}

void CommandsTest::selectAllAndUnselectAllLeaveTheKillListAlone()
{
    FormFixture::store(QStringLiteral("Processes"), QStringLiteral("calc||MySeparator1||4"));
    Form1 &form = loadedForm();
    form.PushButton6_Click();
    QCOMPARE(checkedNames(form.ListView1).size(), form.ListView1->count());
    form.PushButton9_Click();
    QVERIFY(checkedNames(form.ListView1).isEmpty());
    QVERIFY(form.ListView2->count() == 1 && !form.ListView2->isChecked(1));
    QVERIFY(fixture.dialogs->boxes.empty());
}

void CommandsTest::textCommandsMarkByNameOnly_data()
{
    QTest::addColumn<bool>("containing");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<Names>("marked");
    QTest::newRow("capitals") << true << "CHROME" << Names{"chrome.exe"};
    QTest::newRow("fragment") << true << "rom" << Names{"chrome.exe"};
    QTest::newRow("spaces take part") << true << " exe" << Names{};
    QTest::newRow("spaces alone") << true << "   " << Names{};
    QTest::newRow("type is no name") << true << "Process" << Names{};
    QTest::newRow("star is literal") << true << "*" << Names{"a*b?c"};
    QTest::newRow("question mark is literal") << true << "b?" << Names{"a*b?c"};
    QTest::newRow("not containing") << false << "o" << Names{"a*b?c", "bash", "zsh"};
    QTest::newRow("not containing, case folded")
        << false << "A" << Names{"chrome.exe", "Editor", "Xorg", "zsh"};
}

void CommandsTest::textCommandsMarkByNameOnly()
{
    QFETCH(bool, containing);
    QFETCH(QString, answer);
    QFETCH(Names, marked);
    Form1 &form = loadedForm();
    fixture.dialogs->answers = {answer};
    containing ? form.PushButton7_Click() : form.PushButton8_Click();
    QCOMPARE(fixture.dialogs->prompts, Names{"Enter X: |Input X"});
    QCOMPARE(checkedNames(form.ListView1), marked);
    QVERIFY(fixture.dialogs->boxes.empty());
}

void CommandsTest::textCommandsOnlyAddMarks()
{
    Form1 &form = loadedForm();
    check(form.ListView1, {"Editor"});
    fixture.dialogs->answers = {QStringLiteral("sh"), QStringLiteral("sh")};
    form.PushButton7_Click();
    QCOMPARE(checkedNames(form.ListView1), (Names{"bash", "Editor", "zsh"}));
    form.PushButton8_Click();
    QCOMPARE(checkedNames(form.ListView1).size(), form.ListView1->count());
}

void CommandsTest::passEndsProcessesAndClosesTasksInListOrderThenRefreshes()
{
    Form1 &form = loadedForm();
    fixture.closing->ignoring = {editor};
    check(form.ListView1, {"zsh", "Xorg", "Editor", "Calculator"});
    const int snapshots = fixture.processes->snapshotsTaken;
    QTest::mouseClick(form.PushButton5, Qt::LeftButton);

    QCOMPARE(fixture.closing->requests, (std::vector<WindowHandle>{calculator, editor}));
    QCOMPARE(fixture.ending->ended, (std::vector<quint32>{100, 300}));
    // One wait for each kind, over the whole batch.
    QCOMPARE(fixture.ending->waits, std::vector<std::size_t>{2});
    QCOMPARE(fixture.closing->waits, std::vector<std::size_t>{2});
    QCOMPARE(fixture.processes->snapshotsTaken, snapshots + 1);
    QCOMPARE(form.ListView1->count(), 4); // the ignoring window stays
    QVERIFY(checkedNames(form.ListView1).isEmpty());
    QVERIFY(fixture.dialogs->boxes.empty());
    QVERIFY(!form.killBusy);
}

void CommandsTest::failingRowsGetOneBoxEachAndThePassGoesOn()
{
    Form1 &form = loadedForm();
    fixture.ending->refusing = {100};
    fixture.processes->reuseId(200); // bash ended; its ID now names another process
    check(form.ListView1, {"bash", "chrome.exe", "Xorg", "zsh"});
    form.PushButton5_Click();

    QCOMPARE(fixture.ending->opened, (std::vector<quint32>{200, 400, 100, 300}));
    QCOMPARE(fixture.ending->ended, (std::vector<quint32>{400, 300}));
    QCOMPARE(fixture.dialogs->boxes.size(), 2u);
    QCOMPARE(fixture.dialogs->boxes[0].text, QStringLiteral("Unable to terminate bash"));
    QCOMPARE(fixture.dialogs->boxes[1].text, QStringLiteral("Unable to terminate Xorg"));
    QCOMPARE(fixture.dialogs->boxes[1].title, QString()); // the application title
}

void CommandsTest::unreadableRowIsLeftAloneAtItsStep_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QList<int>>("reported");
    QTest::addColumn<QString>("box");
    QTest::newRow("ID not a number") << "4x"
                                     << "Process" << QList<int>{108} << "";
    QTest::newRow("ID beyond 32 bits") << "4294967296"
                                       << "Task" << QList<int>{108} << "";
    QTest::newRow("type in other case is a process")
        << "5242881"
        << "task" << QList<int>{} << "Unable to terminate odd";
    // Only the process pass gives a row the identity that ending it needs.
    QTest::newRow("listed ID on a row not from the process pass")
        << "200"
        << "Process" << QList<int>{} << "Unable to terminate odd";
}

void CommandsTest::unreadableRowIsLeftAloneAtItsStep()
{
    QFETCH(QString, id);
    QFETCH(QString, type);
    QFETCH(QList<int>, reported);
    QFETCH(QString, box);
    Form1 &form = loadedForm();
    ListItem odd = form.ListView1->addRow(QStringLiteral("odd"));
    odd.setSubItem(1, id);
    odd.setSubItem(2, type);
    check(form.ListView1, {"odd", "zsh"});
    form.PushButton5_Click();
    QCOMPARE(fixture.dialogs->reportedSteps(), reported);
    if (!box.isEmpty()) {
        QVERIFY(!fixture.dialogs->boxes.empty());
        QCOMPARE(fixture.dialogs->boxes.back().text, box);
    }
    QVERIFY(fixture.closing->requests.empty());
    QCOMPARE(fixture.ending->ended, std::vector<quint32>{300}); // the next row still ended
}

void CommandsTest::nothingRebuildsOrRestartsThePassWhileABoxIsOpen()
{
    Form1 &form = loadedForm();
    form.Text1->setText(QStringLiteral("1"));
    form.Option4->setChecked(true);
    fixture.ending->refusing = {200};
    check(form.ListView1, {"bash", "Xorg", "zsh"});
    const int snapshots = fixture.processes->snapshotsTaken;
    int ticks = 0;
    fixture.dialogs->whileOpen = [&] {
        fixture.now += std::chrono::hours(1); // a timed refresh is due
        form.Timer1_Timer();
        form.PushButton5_Click();
        ++ticks;
    };
    form.PushButton5_Click();
    QCOMPARE(ticks, 1);
    QCOMPARE(fixture.ending->ended, (std::vector<quint32>{100, 300}));
    QCOMPARE(fixture.processes->snapshotsTaken, snapshots + 1); // the closing refresh only
    QVERIFY(form.nextRefreshTime < fixture.now);                // kept, and due at the next tick

    // Rows that went away under the walk are reported at 106 and left alone.
    fixture.dialogs->boxes.clear();
    fixture.dialogs->whileOpen = [&] { form.ListView1->removeAllRows(); };
    check(form.ListView1, {"bash", "zsh"});
    form.PushButton5_Click();
    QCOMPARE(fixture.dialogs->boxes[0].text, QStringLiteral("Unable to terminate bash"));
    const QList<int> reported = fixture.dialogs->reportedSteps();
    QVERIFY(!reported.isEmpty() && reported.count(106) == reported.size());
    QCOMPARE(fixture.ending->ended.size(), 2u); // zsh's row was gone: nothing ended for it
    QVERIFY(!form.killBusy);
}

void CommandsTest::passWithNothingCheckedOnlyRefreshesAndIgnoresASecondPress()
{
    Form1 &form = loadedForm();
    for (const bool anyChecked : {false, true}) {
        if (anyChecked)
            check(form.ListView1, {"zsh"});
        const int snapshots = fixture.processes->snapshotsTaken;
        // Handled during the closing refresh's yields.
        QMetaObject::invokeMethod(form.PushButton5, &QPushButton::click, Qt::QueuedConnection);
        form.PushButton5_Click();
        QTest::qWait(20);
        QCOMPARE(fixture.processes->snapshotsTaken, snapshots + 1);
        QCOMPARE(fixture.ending->ended,
                 anyChecked ? std::vector<quint32>{300} : std::vector<quint32>{});
    }
    QVERIFY(fixture.closing->requests.empty());
    QVERIFY(fixture.dialogs->boxes.empty());
}

void CommandsTest::ownRowGoesLastAndEndsTheProgramAsACloseDoes()
{
    const auto self = quint32(QCoreApplication::applicationPid());
    fixture.processes->add(self, "trelvanix");
    fixture.processes->add(self + 1, "zzz after it");
    Form1 &form = loadedForm();
    form.ListView2->addRow(QStringLiteral("7")).setSubItem(1, QStringLiteral("kept"));
    form.PushButton6_Click();
    const int snapshots = fixture.processes->snapshotsTaken;
    form.PushButton5_Click();

    QCOMPARE(fixture.ending->ended, (std::vector<quint32>{401, 200, 400, 100, 300, self + 1}));
    QCOMPARE(fixture.closing->requests.size(), 2u);
    QCOMPARE(fixture.processes->snapshotsTaken, snapshots); // no refresh for a program that ends
    QVERIFY(!form.killBusy);
    QTRY_VERIFY(!form.cSysTray1->InTray());
    QVERIFY(FormFixture::stored(QStringLiteral("Processes")).toString().contains("kept"));
    QVERIFY(fixture.dialogs->boxes.empty());
}

void CommandsTest::endRequestedDuringAPassEndsNoFurtherRow()
{
    Form1 &form = loadedForm();
    fixture.ending->refusing = {200};
    check(form.ListView1, {"bash", "chrome.exe", "Xorg", "zsh"});
    fixture.dialogs->whileOpen = [&] { form.requestEnd(Form1::EndRequest::Unattended); };
    const int snapshots = fixture.processes->snapshotsTaken;
    form.PushButton5_Click();

    QCOMPARE(fixture.ending->opened, std::vector<quint32>{200});
    QVERIFY(fixture.ending->ended.empty());
    QCOMPARE(fixture.processes->snapshotsTaken, snapshots);
    QCOMPARE(fixture.dialogs->boxes.size(), 1u);
    QTRY_VERIFY(!form.cSysTray1->InTray());
}

void CommandsTest::checkedRowWhoseTargetIsAlreadyGone_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<Names>("boxes");
    QTest::newRow("task whose window closed") << "Editor" << Names{};
    QTest::newRow("process that ended") << "chrome.exe" << Names{"Unable to terminate chrome.exe"};
}

void CommandsTest::checkedRowWhoseTargetIsAlreadyGone()
{
    QFETCH(QString, row);
    QFETCH(Names, boxes);
    Form1 &form = loadedForm();
    check(form.ListView1, {row, "zsh"});
    std::erase_if(fixture.windows->windows, [](const auto &w) { return w.handle == editor; });
    std::erase_if(fixture.processes->entries, [](const auto &e) { return e.processId == 400; });
    form.PushButton5_Click();
    Names shown;
    for (const auto &box : fixture.dialogs->boxes)
        shown.append(box.text);
    QCOMPARE(shown, boxes);
    QCOMPARE(fixture.ending->ended, std::vector<quint32>{300}); // the next row still ended
    for (int position = 1; position <= form.ListView1->count(); ++position)
        QVERIFY(form.ListView1->text(position) != row);
}

void CommandsTest::passOverMoreProcessesThanFreeHandlesEndsThemAll_data()
{
    QTest::addColumn<int>("processes");
    QTest::addColumn<int>("freeHandles");
    QTest::addColumn<bool>("slowToExit");
    QTest::addColumn<int>("boxes");
    QTest::newRow("more than a limit of 1024") << 3000 << 1000 << false << 0;
    QTest::newRow("other descriptors take most of the limit") << 3000 << 5 << false << 0;
    QTest::newRow("slow to exit") << 3000 << 1000 << true << 0;
    QTest::newRow("no handle free at all") << 3 << 0 << false << 3;
}

void CommandsTest::passOverMoreProcessesThanFreeHandlesEndsThemAll()
{
    QFETCH(int, processes);
    QFETCH(int, freeHandles);
    QFETCH(bool, slowToExit);
    QFETCH(int, boxes);
    for (int i = 0; i < processes; ++i) {
        // Beyond any PID the kernel hands out, so never this test's own.
        const auto id = static_cast<quint32>(5'000'000 + i);
        fixture.processes->add(id, "worker");
        if (slowToExit)
            fixture.ending->slowToExit.insert(id);
    }
    constexpr std::size_t holdable = 256;
    fixture.ending->freeHandles = static_cast<std::size_t>(freeHandles);
    fixture.ending->holdable = holdable;
    Form1 &form = loadedForm();
    check(form.ListView1, {"worker"});
    form.PushButton5_Click();
    QCOMPARE(static_cast<int>(fixture.dialogs->boxes.size()), boxes);
    QCOMPARE(static_cast<int>(fixture.ending->ended.size()), processes - boxes);
    QVERIFY(fixture.ending->mostHeld <= holdable);
    QCOMPARE(fixture.ending->held, 0u);
    // Processes that do not exit hold the pass up about as long as the last
    // wait alone would, twice that at most.
    QVERIFY(fixture.ending->waited < std::chrono::milliseconds(1100));
}

int runCommandsTests(int argc, char *argv[])
{
    CommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_commands.moc"
