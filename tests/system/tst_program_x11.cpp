// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program as a user drives it on a real display with a window manager:
// the real executable with clicks and keys, and the main window in this
// process over the real processes and windows.
#include "app/Form1.h"
#include "app/ListView.h"
#include "platform/PlatformServices.h"
#include "support/FakeDialogs.h"
#include "support/HelperWindows.h"
#include "support/RealForm.h"
#include "support/RealProgram.h"
#include "support/RunningListView.h"
#include "support/XTestDisplay.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>

#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
constexpr QPoint check1At = markOf("Check1");
constexpr QPoint option4At = inFrame2(markOf("Option4"));
constexpr QPoint text1At = inFrame2(middleOf("Text1"));
constexpr QPoint pushButton7At = middleOf("PushButton7");
constexpr QPoint pushButton5At = middleOf("PushButton5");

// Whether the program has its own handler for a signal yet; before it runs,
// its process is still a copy of ours, with our handlers.
bool programCatchesSignal(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = status.readAll().split('\n');
    if (!lines.contains("Name:\ttrelvanix"))
        return false;
    for (const QByteArray &line : lines)
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

int taskRowsWithId(const ListView *list, qint64 id)
{
    int rows = 0;
    for (int position = 1; position <= list->count(); ++position)
        rows += list->subItem(position, 1) == QString::number(id) ? 1 : 0;
    return rows;
}
} // namespace

class ProgramX11Test : public QObject
{
    Q_OBJECT

private slots:
    void keepOnTopHoldsOtherWindowsBehindAndSurvivesARestart();
    void optionsAndKillListSurviveARestart();
    void nonNumericIntervalBringsTheMessage();
    void refreshButtonAndMonitoringFollowProgramsAndWindows();
    void killPassEndsTheChosenProgramsAndClosesTheChosenWindow();
    void checkingItsOwnRowEndsEveryOtherRowThenTheProgram();
    void endRequestDuringStartUpKeepsTheListAndEnds_data();
    void endRequestDuringStartUpKeepsTheListAndEnds();
    void endRequestWithAnUnwritableStoreSaysSoOnStandardErrorAndEnds();
    void cursorFileThatIsAFifoIsReportedAndTheProgramEnds();
    void joinsTheDisplaysBusButNeverStartsOne_data();
    void joinsTheDisplaysBusButNeverStartsOne();
};

void ProgramX11Test::keepOnTopHoldsOtherWindowsBehindAndSurvivesARestart()
{
    QTemporaryDir config;
    XTestDisplay x;
    xcb_window_t main = 0;
    {
        Program program(config.path());
        QVERIFY((main = program.mainWindow(x)) != 0);
        QVERIFY(!x.hasState(main, "_NET_WM_STATE_ABOVE"));
        QVERIFY(program.clickAt(check1At));
        QTRY_VERIFY_WITH_TIMEOUT(x.hasState(main, "_NET_WM_STATE_ABOVE"), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(stores(config, QStringLiteral("Check1=1")), 5000);
        const xcb_window_t other = x.createWindow({"Trelvanix test newcomer"});
        QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(other), 10000);
        QTest::qWait(200);
        QVERIFY(x.stackingIndex(main) < x.stackingIndex(other));
        QVERIFY(program.closeAndWait(x));
    }
    Program again(config.path());
    const xcb_window_t restarted = again.mainWindow(x);
    QVERIFY(restarted != 0);
    QTRY_VERIFY_WITH_TIMEOUT(x.hasState(restarted, "_NET_WM_STATE_ABOVE"), 5000);
    const xcb_window_t other = x.createWindow({"Trelvanix test behind"});
    QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(other), 10000);
    QVERIFY(again.clickAt(check1At));
    QTRY_VERIFY_WITH_TIMEOUT(!x.hasState(restarted, "_NET_WM_STATE_ABOVE"), 5000);
    QTRY_VERIFY(x.stackingIndex(restarted) > x.stackingIndex(other));
    QTRY_VERIFY_WITH_TIMEOUT(stores(config, QStringLiteral("Check1=0")), 5000);
    QVERIFY(again.closeAndWait(x));
}

void ProgramX11Test::optionsAndKillListSurviveARestart()
{
    QTemporaryDir config;
    const QString killList = QStringLiteral("4112||MySeparator1||calc.exe||MySeparator2||"
                                            "2044||MySeparator1||notepad.exe||MySeparator2||");
    {
        QFile file(config.filePath(QStringLiteral("Quorbel.conf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Trelvanix]\nProcesses=" + killList.toUtf8() + "\n");
    }
    XTestDisplay x;
    {
        Program program(config.path());
        QVERIFY(program.mainWindow(x) != 0);
        QVERIFY(program.clickAt(option4At));
        QTRY_VERIFY_WITH_TIMEOUT(stores(config, QStringLiteral("Option4=True")), 5000);
        QVERIFY(stores(config, QStringLiteral("Option3=False")));
        QVERIFY(program.clickAt(text1At));
        QVERIFY(xdotool({"key", "--delay", "50", "ctrl+a"}));
        QVERIFY(xdotool({"type", "--delay", "50", "0.75"}));
        QTRY_VERIFY_WITH_TIMEOUT(stores(config, QStringLiteral("Text1=0.75")), 5000);
        QVERIFY(program.closeAndWait(x));
    }
    QVERIFY2(stores(config, QStringLiteral("Processes=") + killList),
             qPrintable(storeText(config)));
    // The next run restores all of it and saves the same at its close.
    QFile::remove(config.filePath(QStringLiteral("Quorbel.conf")) + QStringLiteral(".lock"));
    Program again(config.path());
    QVERIFY(again.mainWindow(x) != 0);
    QTest::qWait(300);
    QVERIFY(again.closeAndWait(x));
    QVERIFY(stores(config, QStringLiteral("Processes=") + killList));
    QVERIFY(stores(config, QStringLiteral("Option4=True")));
    QVERIFY(stores(config, QStringLiteral("Text1=0.75")));
}

void ProgramX11Test::nonNumericIntervalBringsTheMessage()
{
    QTemporaryDir config;
    XTestDisplay x;
    Program program(config.path());
    QVERIFY(program.mainWindow(x) != 0);
    QVERIFY(program.clickAt(option4At));
    QVERIFY(program.clickAt(text1At));
    QVERIFY(xdotool({"key", "--delay", "50", "ctrl+a"}));
    QVERIFY(xdotool({"type", "--delay", "50", "abc"}));
    QVERIFY(xdotool({"key", "--delay", "50", "Tab"}));
    QTRY_COMPARE_WITH_TIMEOUT(x.windowsOfProcess(program.processId()).size(), 2u, 5000);
    xcb_window_t box = 0;
    for (xcb_window_t window : x.windowsOfProcess(program.processId()))
        if (window != program.mainWindow(x))
            box = window;
    QCOMPARE(x.title(box), QStringLiteral("Trelvanix"));
    QVERIFY(xdotool({"key", "--delay", "50", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(x.windowsOfProcess(program.processId()).size(), 1u, 5000);
    QVERIFY(stores(config, QStringLiteral("Text1=abc")));
    QVERIFY(program.closeAndWait(x));
}

void ProgramX11Test::refreshButtonAndMonitoringFollowProgramsAndWindows()
{
    FakeDialogs dialogs;
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;

    XTestDisplay x;
    QProcess sleeper;
    sleeper.start(QStringLiteral("/bin/sleep"), {QStringLiteral("600")});
    QVERIFY(sleeper.waitForStarted());
    const xcb_window_t window = x.createWindow({"Trelvanix test appears"});
    QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(window), 10000);
    QTest::mouseClick(form.PushButton1, Qt::LeftButton);
    QCOMPARE(taskRowsWithId(form.ListView1, sleeper.processId()), 1);
    QCOMPARE(taskRowsWithId(form.ListView1, window), 1);
    for (int position = 2; position <= form.ListView1->count(); ++position)
        QVERIFY(form.ListView1->text(position - 1)
                    .compare(form.ListView1->text(position), Qt::CaseInsensitive) <= 0);

    // Automatic refresh every half second follows programs that end and come.
    form.Text1->setText(QStringLiteral("0.5"));
    QTest::mouseClick(form.Option4, Qt::LeftButton, {}, QPoint(8, form.Option4->height() / 2));
    QVERIFY(form.Timer1->isActive());
    sleeper.kill();
    sleeper.waitForFinished();
    xcb_destroy_window(x.c, window);
    xcb_flush(x.c);
    QTRY_COMPARE_WITH_TIMEOUT(taskRowsWithId(form.ListView1, sleeper.processId()), 0, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(taskRowsWithId(form.ListView1, window), 0, 5000);
    QProcess later;
    later.start(QStringLiteral("/bin/sleep"), {QStringLiteral("600")});
    QVERIFY(later.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(taskRowsWithId(form.ListView1, later.processId()), 1, 5000);
    later.kill();
    later.waitForFinished();
    QVERIFY(dialogs.boxes.empty());
}

void ProgramX11Test::killPassEndsTheChosenProgramsAndClosesTheChosenWindow()
{
    QTemporaryDir dir;
    const QString unique = QStringLiteral("TrvxKill%1").arg(QCoreApplication::applicationPid());
    const QString sleep = QStringLiteral("/bin/sleep");
    std::vector<std::unique_ptr<QProcess>> chosen;
    for (const QString &name : {unique, unique, unique, unique + "Gone", QString("TrvxStays")}) {
        chosen.push_back(std::make_unique<QProcess>());
        chosen.back()->start(copyAs(dir, sleep, name), {QStringLiteral("600")});
        QVERIFY(chosen.back()->waitForStarted());
    }
    HelperWindows window(1, QStringLiteral("!Trelvanix kill window")); // sorts first
    QVERIFY(window.waitUntilShown());
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    form.Option3->click(); // a timed refresh would clear the marks as they are made
    const auto main = static_cast<xcb_window_t>(form.winId());

    // The real prompt, answered with the name in other letter case.
    whenModalOpens([&](QWidget *) {
        xdotool({"type", "--delay", "20", unique.toLower()});
        xdotool({"key", "Return"});
    });
    QVERIFY(clickInWindow(main, twipsToPixels(pushButton7At)));
    const QStringList expected{"!Trelvanix kill window", unique, unique, unique, unique + "Gone"};
    QTRY_COMPARE_WITH_TIMEOUT(checkedNames(form.ListView1), expected.mid(1), 10000);
    // The window's row: a click on it and the space bar.
    const QRect first = form.ListView1->visualRect(form.ListView1->model()->index(0, 0));
    QVERIFY(clickInWindow(main, form.ListView1->viewport()->mapTo(&form, first.center())));
    QVERIFY(xdotool({"key", "space"}));
    QTRY_COMPARE_WITH_TIMEOUT(checkedNames(form.ListView1), expected, 5000);

    // One of them ends before the press: the pass says so and goes on.
    chosen[3]->kill();
    QVERIFY(chosen[3]->waitForFinished());
    QString boxText;
    whenModalOpens([&](QWidget *box) {
        boxText = static_cast<QMessageBox *>(box)->text();
        xdotool({"key", "Return"});
    });
    QVERIFY(clickInWindow(main, twipsToPixels(pushButton5At)));
    QTRY_COMPARE_WITH_TIMEOUT(boxText, QStringLiteral("Unable to terminate ") + unique + "Gone",
                              10000);
    QVERIFY(!form.killBusy);
    for (int i = 0; i < 3; ++i) {
        QTRY_COMPARE(chosen[i]->state(), QProcess::NotRunning);
        QCOMPARE(chosen[i]->exitStatus(), QProcess::CrashExit); // killed
    }
    QVERIFY(window.allClosed(5000));
    QCOMPARE(chosen[4]->state(), QProcess::Running);
    QVERIFY(checkedNames(form.ListView1).isEmpty());
    for (int position = 1; position <= form.ListView1->count(); ++position)
        QVERIFY(!expected.contains(form.ListView1->text(position)));
}

void ProgramX11Test::checkingItsOwnRowEndsEveryOtherRowThenTheProgram()
{
    QTemporaryDir dir;
    QTemporaryDir config;
    const QString name = QStringLiteral("TrvxSelf%1").arg(QCoreApplication::applicationPid());
    QProcess later; // listed after the program's own row
    later.start(copyAs(dir, QStringLiteral("/bin/sleep"), name + "Later"), {"600"});
    QVERIFY(later.waitForStarted());
    XTestDisplay x;
    Program program(
        config.path(),
        copyAs(dir, qEnvironmentVariable("TRELVANIX_BUILD_DIR") + QStringLiteral("/trelvanix"),
               name));
    QVERIFY(program.mainWindow(x) != 0);
    QVERIFY(program.clickAt(pushButton7At));
    QTRY_COMPARE_WITH_TIMEOUT(x.windowsOfProcess(program.processId()).size(), 2u, 5000);
    QVERIFY(xdotool({"type", "--delay", "20", name}));
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(x.windowsOfProcess(program.processId()).size(), 1u, 5000);
    QVERIFY(program.clickAt(pushButton5At));
    QVERIFY(program.process().waitForFinished(10000));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit); // as a close ends it
    QCOMPARE(program.process().exitCode(), 0);
    QVERIFY(stores(config, QStringLiteral("Processes=")));
    QVERIFY(later.waitForFinished(5000));
    QCOMPARE(later.exitStatus(), QProcess::CrashExit);
}

void ProgramX11Test::endRequestDuringStartUpKeepsTheListAndEnds_data()
{
    QTest::addColumn<int>("delayMilliseconds"); // after the program catches the signal
    QTest::addColumn<bool>("withStartUpBox");
    // Sent before the program runs, and held for it by the signal mask it starts with.
    QTest::newRow("as it starts") << -2 << false;
    QTest::newRow("before the window maps") << 0 << false;
    QTest::newRow("in the first refresh") << 60 << false;
    QTest::newRow("later in start-up") << 200 << false;
    QTest::newRow("with a start-up box open") << -1 << true;
}

void ProgramX11Test::endRequestDuringStartUpKeepsTheListAndEnds()
{
    QFETCH(int, delayMilliseconds);
    QFETCH(bool, withStartUpBox);
    const QString valid = QStringLiteral("4112||MySeparator1||calc.exe||MySeparator2||");
    QTemporaryDir config;
    {
        QFile file(config.filePath(QStringLiteral("Quorbel.conf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // An entry without its field separator brings a box at start-up.
        file.write("[Trelvanix]\nProcesses=" +
                   (withStartUpBox ? QByteArray("lonely||MySeparator2||") : QByteArray()) +
                   valid.toUtf8() + "\n");
    }
    XTestDisplay x;
    sigset_t held;
    sigemptyset(&held);
    sigaddset(&held, SIGTERM);
    sigset_t before;
    ::pthread_sigmask(delayMilliseconds == -2 ? SIG_BLOCK : SIG_UNBLOCK, &held, &before);
    Program program(config.path());
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    const qint64 pid = program.processId();
    if (withStartUpBox)
        QTRY_VERIFY_WITH_TIMEOUT(!x.windowsOfProcess(pid).empty(), 20000);
    else if (delayMilliseconds != -2)
        QTRY_VERIFY_WITH_TIMEOUT(programCatchesSignal(pid, SIGTERM), 20000);
    QTest::qWait(std::max(delayMilliseconds, 0));
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    QVERIFY(program.process().waitForFinished(2000));
    const QByteArray said = program.process().readAllStandardError();
    QVERIFY2(program.process().exitStatus() == QProcess::NormalExit,
             qPrintable(QString::number(program.process().exitCode()) + said));
    QCOMPARE(program.process().exitCode(), 0);
    const QString store = storeText(config);
    QVERIFY2(store.contains(QRegularExpression("\nProcesses=[^\n]*" +
                                               QRegularExpression::escape(valid) + "\n")),
             qPrintable(store));
}

void ProgramX11Test::endRequestWithAnUnwritableStoreSaysSoOnStandardErrorAndEnds()
{
    QTemporaryDir config;
    XTestDisplay x;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    program.setProcessEnvironment(environment);
    // As root the program could write anywhere; without that right the
    // folder's permissions hold for it too.
    program.start(QStringLiteral("setpriv"),
                  {"--bounding-set=-dac_override",
                   qEnvironmentVariable("TRELVANIX_BUILD_DIR") + QStringLiteral("/trelvanix")});
    QTRY_VERIFY_WITH_TIMEOUT(!x.windowsOfProcess(program.processId()).empty(), 20000);
    const auto writable = QFile::permissions(config.path());
    QFile::setPermissions(config.path(), QFile::ReadOwner | QFile::ExeOwner);
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    const bool ended = program.waitForFinished(5000);
    QFile::setPermissions(config.path(), writable);
    if (!ended)
        program.kill();
    QVERIFY(ended);
    QCOMPARE(program.exitCode(), 0);
    const QByteArray said = program.readAllStandardError();
    QVERIFY2(said.contains("Form_QueryUnload at line 108"), said.constData());
}

// Start-up would wait in the FIFO's open for good, deaf to the requests to end.
void ProgramX11Test::cursorFileThatIsAFifoIsReportedAndTheProgramEnds()
{
    QTemporaryDir dir;
    QTemporaryDir config;
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("HAND-M.CUR"))).constData(),
                     0600) == 0);
    XTestDisplay x;
    Program program(
        config.path(),
        copyAs(dir, qEnvironmentVariable("TRELVANIX_BUILD_DIR") + QStringLiteral("/trelvanix"),
               QStringLiteral("trelvanix")));
    const qint64 pid = program.processId();
    // From here on the window's start-up alone runs; its box is the first window.
    QTRY_VERIFY_WITH_TIMEOUT(programCatchesSignal(pid, SIGTERM), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!x.windowsOfProcess(pid).empty(), 2000);
    QTRY_COMPARE(x.title(x.windowsOfProcess(pid).front()), QStringLiteral("Application Error"));
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    QVERIFY(program.process().waitForFinished(2000));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
}

void ProgramX11Test::joinsTheDisplaysBusButNeverStartsOne_data()
{
    // "%marker" is the file that a command run would make; "%bus" a real bus's
    // address, "%silent" that of a socket that never answers.
    QTest::addColumn<QByteArray>("announced"); // nothing when empty
    QTest::addColumn<bool>("busOfAnotherUser");
    QTest::addColumn<bool>("joined");
    QTest::newRow("no bus anywhere") << QByteArray() << false << false;
    QTest::newRow("a bus announced on the display") << QByteArray("%bus") << false << true;
    const QByteArray command = "unixexec:path=/bin/sh,argv1=-c,argv2=touch%20%marker";
    QTest::newRow("a command") << command << false << false;
    QTest::newRow("a command after a missing socket")
        << "unix:path=/nonexistent;" + command << false << false;
    QTest::newRow("a bus to start") << QByteArray("autolaunch:") << false << false;
    QTest::newRow("another user's socket") << QByteArray("%bus") << true << false;
    QTest::newRow("a socket that never answers") << QByteArray("%silent") << false << false;
}

// A bus that dbus-launch started for the display is announced there, by a
// window that owns the user's selection; joining it needs no launch. Any X
// client can announce one, so the program joins only a socket of the user's
// own that answers, and says so on standard error when it does not.
void ProgramX11Test::joinsTheDisplaysBusButNeverStartsOne()
{
    QFETCH(QByteArray, announced);
    QFETCH(bool, busOfAnotherUser);
    QFETCH(bool, joined);
    QTemporaryDir config;
    QTemporaryDir runtime; // no bus at the usual place
    QTemporaryDir tools;
    const QString started = tools.filePath(QStringLiteral("started"));
    QFile launcher(tools.filePath(QStringLiteral("dbus-launch")));
    QVERIFY(launcher.open(QIODevice::WriteOnly));
    launcher.write("#!/bin/sh\ntouch '" + QFile::encodeName(started) + "'\nexit 1\n");
    launcher.close();
    QVERIFY(launcher.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    XTestDisplay x;
    QProcess bus;
    QByteArray address;
    if (announced.contains("%bus")) {
        bus.start(QStringLiteral("dbus-daemon"),
                  {"--session", "--nofork", "--nopidfile", "--print-address=1",
                   "--address=unix:path=" + tools.filePath(QStringLiteral("bus"))});
        QVERIFY(bus.waitForReadyRead(10000));
        address = bus.readLine().trimmed();
        if (busOfAnotherUser)
            QVERIFY(::chown(QFile::encodeName(tools.filePath(QStringLiteral("bus"))).constData(),
                            65534, 65534) == 0);
    }
    // A socket whose connections are taken and never read.
    const QByteArray silentPath = QFile::encodeName(tools.filePath(QStringLiteral("silent")));
    const int silent = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const auto closeSilent = qScopeGuard([silent] { ::close(silent); });
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    qstrncpy(where.sun_path, silentPath.constData(), sizeof where.sun_path);
    QVERIFY(::bind(silent, reinterpret_cast<const sockaddr *>(&where), sizeof where) == 0);
    QVERIFY(::listen(silent, 8) == 0);
    announced.replace("%bus", address)
        .replace("%marker", QFile::encodeName(started))
        .replace("%silent", "unix:path=" + silentPath);
    if (!announced.isEmpty()) {
        QFile machineId(QStringLiteral("/etc/machine-id"));
        QVERIFY(machineId.open(QIODevice::ReadOnly));
        const QByteArray selection = "_DBUS_SESSION_BUS_SELECTION_" +
                                     QByteArray(::getpwuid(::getuid())->pw_name) + '_' +
                                     machineId.readLine().trimmed();
        const xcb_window_t owner = xcb_generate_id(x.c);
        xcb_create_window(x.c, XCB_COPY_FROM_PARENT, owner, x.root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_change_property(x.c, XCB_PROP_MODE_REPLACE, owner, x.atom("_DBUS_SESSION_BUS_ADDRESS"),
                            XCB_ATOM_STRING, 8, quint32(announced.size()), announced.constData());
        xcb_set_selection_owner(x.c, owner, x.atom(selection.constData()), XCB_CURRENT_TIME);
        xcb_flush(x.c);
        x.created.push_back(owner);
    }
    Program program(config.path(),
                    qEnvironmentVariable("TRELVANIX_BUILD_DIR") + QStringLiteral("/trelvanix"),
                    qEnvironmentVariable("DISPLAY"), [&](QProcessEnvironment &environment) {
                        environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
                        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
                        environment.insert(QStringLiteral("PATH"),
                                           tools.path() + QLatin1Char(':') +
                                               environment.value(QStringLiteral("PATH")));
                    });
    QVERIFY(program.mainWindow(x, 5000));
    const auto onTheBus = [&] {
        QDBusConnection watch =
            QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("announced"));
        bool found = false;
        for (const QString &name : watch.interface()->registeredServiceNames().value())
            found = found || watch.interface()->servicePid(name).value() == program.processId();
        QDBusConnection::disconnectFromBus(QStringLiteral("announced"));
        return found;
    };
    if (joined) {
        QTRY_VERIFY_WITH_TIMEOUT(onTheBus(), 10000);
    } else {
        // The icon is made within a second of the window's showing, and the
        // toolkit looks for a bus then, if not before.
        QTest::qWait(1500);
        QVERIFY(address.isEmpty() || onTheBus() == false);
    }
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    QVERIFY(program.process().waitForFinished(10000));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
    const QByteArray said = program.process().readAllStandardError();
    QCOMPARE(said.contains("bus the display announces is not used"),
             !announced.isEmpty() && !joined);
    QVERIFY(!QFile::exists(started));
    bus.terminate();
    bus.waitForFinished(5000);
}

QTEST_MAIN(ProgramX11Test)
#include "tst_program_x11.moc"
