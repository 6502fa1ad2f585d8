// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tray icon on a StatusNotifierItem host (lxqt-panel), whose balloons are
// desktop notifications, shown by a real daemon (dunst) that keeps each one
// until it is closed; all on the test's own session bus.
#include "app/Form1.h"
#include "platform/PlatformServices.h"
#include "support/RealForm.h"
#include "support/RealProgram.h"
#include "tray/cSysTray.h"

#include <QDBusInterface>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QSemaphore>
#include <QThread>

#include <algorithm>
#include <memory>

#include <signal.h>

namespace
{
QByteArray dunstctl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("dunstctl"), arguments);
    process.waitForFinished(5000);
    return process.readAllStandardOutput();
}

int notificationsInSight()
{
    return dunstctl({"count", "displayed"}).trimmed().toInt() +
           dunstctl({"count", "waiting"}).trimmed().toInt();
}

// Title and text of each notification gone from sight, the latest last
// (dunst lists the latest first).
QStringList closedNotifications()
{
    const QJsonObject history = QJsonDocument::fromJson(dunstctl({"history"})).object();
    QStringList texts;
    for (const QJsonValue entry : history[QLatin1String("data")].toArray().at(0).toArray()) {
        const QJsonObject fields = entry.toObject();
        texts.prepend(fields[QLatin1String("summary")][QLatin1String("data")].toString() + " | " +
                      fields[QLatin1String("body")][QLatin1String("data")].toString());
    }
    return texts;
}

// The first window that `xdotool search` finds with these arguments.
QString window(const QStringList &search)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), QStringList{"search"} + search);
    xdotool.waitForFinished(5000);
    return QString::fromLatin1(xdotool.readAllStandardOutput()).section('\n', 0, 0);
}

// The panel holds the icon alone, at its start.
bool clickTrayIcon()
{
    return xdotool({"mousemove", "--sync", "--window", window({"--name", "^LXQt Panel$"}), "16",
                    "16", "click", "1"});
}

bool clickNotification()
{
    return xdotool({"mousemove", "--sync", "--window",
                    window({"--onlyvisible", "--class", "Dunst"}), "20", "20", "click", "1"});
}

QStringList trayItems()
{
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                           QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"));
    return watcher.property("RegisteredStatusNotifierItems").toStringList();
}
} // namespace

class TraySniX11Test : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void minimiseShowsOneNotificationAndTakesItDown();
    void iconClickOnAShownWindowFocusesItAndBalloonClickOnlyEndsTheBalloon();
    void balloonsAskedInQuickSuccessionAreReplacedAndTakenDown();
    void watcherThatNeverAnswersHoldsNothingUp();
    // Last: it ends the session's panel, and the one it starts stays.
    void windowComesBackWhenThePanelGoesAndTheIconWhenAPanelReturns();

private:
    qsizetype closedBefore = 0;
    QProcess panel;
};

// No icon and nothing in sight, whatever an earlier test left.
void TraySniX11Test::init()
{
    QTRY_VERIFY_WITH_TIMEOUT(trayItems().isEmpty(), 10000);
    dunstctl({"close-all"});
    QTRY_COMPARE(notificationsInSight(), 0);
    closedBefore = closedNotifications().size();
}

void TraySniX11Test::minimiseShowsOneNotificationAndTakesItDown()
{
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    QTRY_COMPARE_WITH_TIMEOUT(trayItems().size(), 1, 10000);

    QList<int> inSight; // over the first seconds of the balloon's wait
    QTimer look;
    connect(&look, &QTimer::timeout, [&] {
        if (form.minimizedToTray && inSight.size() < 5)
            inSight << notificationsInSight();
    });
    look.start(300);
    QVERIFY(xdotool({"windowminimize", QString::number(form.winId())}));
    // The balloon waits inside the minimise's own handling, which this ends after.
    QTRY_VERIFY_WITH_TIMEOUT(form.cSysTray1->OnceCount() == 1 && !form.isVisible(), 15000);
    QCOMPARE(inSight.size(), 5);
    QCOMPARE(inSight.last(), 1);
    QCOMPARE(*std::max_element(inSight.begin(), inSight.end()), 1);

    // Its time over, the balloon was closed, and nothing came in its place.
    QTRY_COMPARE_WITH_TIMEOUT(notificationsInSight(), 0, 3000);
    QCOMPARE(
        closedNotifications().mid(closedBefore),
        QStringList(QStringLiteral("Trelvanix | has been minimized to the system tray.\r\nClick "
                                   "on the blue 'Q' icon (Q for Quorbel) to bring the "
                                   "software back.")));
    QTRY_VERIFY(!form.cSysTray1->BalloonShowing()); // the daemon's word came back
    QVERIFY(form.minimizedToTray);
    QVERIFY(form.close());
}

void TraySniX11Test::iconClickOnAShownWindowFocusesItAndBalloonClickOnlyEndsTheBalloon()
{
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    QTRY_COMPARE_WITH_TIMEOUT(trayItems().size(), 1, 10000);
    QWidget elsewhere;
    elsewhere.show();
    QVERIFY(QTest::qWaitForWindowExposed(&elsewhere));
    QVERIFY(xdotool({"windowactivate", "--sync", QString::number(elsewhere.winId())}));
    QTRY_VERIFY(!form.isActiveWindow());
    QVERIFY(clickTrayIcon());
    QTRY_VERIFY_WITH_TIMEOUT(form.isActiveWindow(), 10000);
    QVERIFY(form.isVisible() && !form.isMinimized() && !form.minimizedToTray);
    QCOMPARE(notificationsInSight(), 0);

    QElapsedTimer sinceClick;
    QTimer user; // clicks the balloon once it is in sight
    connect(&user, &QTimer::timeout, [&] {
        if (!sinceClick.isValid() && form.minimizedToTray && notificationsInSight() == 1) {
            sinceClick.start();
            clickNotification();
        }
    });
    user.start(100);
    QVERIFY(xdotool({"windowminimize", QString::number(form.winId())}));
    // True once the minimise's handling, balloon wait and all, has returned.
    QTRY_VERIFY_WITH_TIMEOUT(form.minimizedToTray && sinceClick.isValid(), 15000);
    QVERIFY(sinceClick.elapsed() < 2500); // not the balloon's 5 s
    QVERIFY(!form.cSysTray1->BalloonShowing());
    QCOMPARE(notificationsInSight(), 0);
    QCOMPARE(closedNotifications().size(), closedBefore + 1);
    QTest::qWait(200);
    QVERIFY(!form.isVisible() && form.minimizedToTray);

    QVERIFY(clickTrayIcon());
    QTRY_VERIFY_WITH_TIMEOUT(form.isActiveWindow() && !form.minimizedToTray, 10000);
    QVERIFY(form.close());
}

void TraySniX11Test::balloonsAskedInQuickSuccessionAreReplacedAndTakenDown()
{
    RealForm real;
    QVERIFY(real.loadAndShow());
    cSysTray &tray = *real.form.cSysTray1;
    QTRY_COMPARE_WITH_TIMEOUT(trayItems().size(), 1, 10000);
    // Each asked before the daemon has numbered the balloon before it.
    tray.ShowBalloon(QStringLiteral("first"), QString(), 0, false);
    NotifyIconRecord takeDown;
    takeDown.setNumber(NotifyIconRecord::cbSize, NotifyIconRecord::size);
    takeDown.setNumber(NotifyIconRecord::hWnd, tray.ownerWindow());
    takeDown.setNumber(NotifyIconRecord::uFlags, NotifyIconRecord::Info);
    real.platform.notifyIconShell->notify(NotifyIconShell::Request::Modify, takeDown);
    QTRY_COMPARE(closedNotifications().size(), closedBefore + 1);
    QTRY_VERIFY(!tray.BalloonShowing());
    tray.ShowBalloon(QStringLiteral("second"), QString(), 0, false);
    tray.ShowBalloon(QStringLiteral("third"), QString(), 0, false);
    QTRY_COMPARE(notificationsInSight(), 1);
    QTest::qWait(300);
    QCOMPARE(notificationsInSight(), 1);

    QVERIFY(real.form.close()); // the icon's balloon goes with it
    QTRY_COMPARE(notificationsInSight(), 0);
    QCOMPARE(closedNotifications().mid(closedBefore), QStringList({" | first", " | third"}));
}

void TraySniX11Test::windowComesBackWhenThePanelGoesAndTheIconWhenAPanelReturns()
{
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    QTRY_COMPARE_WITH_TIMEOUT(trayItems().size(), 1, 10000);
    QVERIFY(xdotool({"windowminimize", QString::number(form.winId())}));
    QTRY_VERIFY_WITH_TIMEOUT(form.cSysTray1->OnceCount() == 1 && !form.isVisible(), 15000);

    // The window manager's own tray is still there, but the icon was not in it.
    const auto sessionPanel = qEnvironmentVariableIntValue("TRELVANIX_SNI_PANEL_PID");
    QVERIFY(sessionPanel > 0 && ::kill(sessionPanel, SIGTERM) == 0);
    QTRY_VERIFY_WITH_TIMEOUT(form.isVisible() && form.isMinimized() && !form.minimizedToTray, 5000);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    panel.setProcessEnvironment(environment);
    panel.start(QStringLiteral("lxqt-panel"));
    QVERIFY(panel.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(trayItems().size(), 1, 15000);
    QTRY_VERIFY(real.platform.notifyIconShell->isAvailable());
    // And the window, restored and minimised again, is hidden there again.
    QVERIFY(xdotool({"windowactivate", "--sync", QString::number(form.winId())}));
    QTRY_VERIFY(!form.isMinimized());
    QVERIFY(xdotool({"windowminimize", QString::number(form.winId())}));
    QTRY_VERIFY_WITH_TIMEOUT(form.minimizedToTray && !form.isVisible(), 15000);
    QVERIFY(clickTrayIcon());
    QTRY_VERIFY_WITH_TIMEOUT(form.isVisible() && !form.minimizedToTray, 10000);
    QVERIFY(form.close());
}

// The real program on a bus of its own, whose tray watcher takes every call
// and answers none: its calls go to an object whose thread never reads them.
// The window is not held up by it: an end is acted on at once.
void TraySniX11Test::watcherThatNeverAnswersHoldsNothingUp()
{
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"),
              {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    QVERIFY(bus.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(bus.readLine().trimmed());
    QSemaphore release;
    const std::unique_ptr<QThread> stuck(QThread::create([&release] { release.acquire(); }));
    QObject watcher;
    watcher.moveToThread(stuck.get());
    stuck->start();
    const auto cleanUp = qScopeGuard([&] {
        release.release();
        stuck->wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("silent"));
        bus.terminate();
        bus.waitForFinished(5000);
    });
    QDBusConnection silent = QDBusConnection::connectToBus(address, QStringLiteral("silent"));
    QVERIFY(silent.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                                  QDBusConnection::ExportAllContents));
    QVERIFY(silent.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));

    QTemporaryDir config;
    XTestDisplay x;
    Program program(config.path(),
                    qEnvironmentVariable("TRELVANIX_BUILD_DIR") + QStringLiteral("/trelvanix"),
                    qEnvironmentVariable("DISPLAY"), [&](QProcessEnvironment &environment) {
                        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
                    });
    const xcb_window_t window = program.mainWindow(x);
    QVERIFY(window != 0);
    QTest::qWait(1500); // the icon would be made within a second of the window's showing
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    QVERIFY(program.process().waitForFinished(5000));
    QCOMPARE(program.process().exitCode(), 0);
}

void TraySniX11Test::cleanup()
{
    if (panel.state() != QProcess::NotRunning) {
        panel.terminate();
        panel.waitForFinished(5000);
    }
}

QTEST_MAIN(TraySniX11Test)
#include "tst_tray_sni_x11.moc"
