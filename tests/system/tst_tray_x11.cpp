// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tray icon and the program's end on a real display whose window manager
// hosts a tray (IceWM): the main window in this process over the real
// notification area, and the real executable ended in every way it can be.
#include "app/Form1.h"
#include "platform/PlatformServices.h"
#include "platform/linux/tray/NotifyIconShell.h"
#include "platform/linux/x11/WindowFacts.h"
#include "support/RealForm.h"
#include "support/RealProgram.h"
#include "tray/cSysTray.h"

#include <QLabel>
#include <QRadioButton>
#include <QWindow>

#include <csignal>
#include <cstring>

namespace
{
const QString killList = QStringLiteral("4112||MySeparator1||calc.exe||MySeparator2||");

// Once a balloon of this process shows, hands its texts to `act`, inside the
// balloon's own wait.
void whenBalloonShows(std::function<void(QStringList)> act)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act = std::move(act), tries = 0]() mutable {
        QStringList texts;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->inherits("QBalloonTip") && widget->isVisible())
                for (const QLabel *label : widget->findChildren<QLabel *>())
                    texts.append(label->text());
        if (texts.isEmpty() && ++tries < 200)
            return;
        poll->stop();
        poll->deleteLater();
        act(texts);
    });
    poll->start(50);
}

// A click on the icon, off its centre, where a balloon's arrow points (no --sync: see
// clickInWindow).
bool clickOn(const QSystemTrayIcon *icon)
{
    const QPoint at = icon->geometry().bottomLeft() + QPoint(3, -3);
    return xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

// A private display of the test's own, ended by the test.
class OwnDisplay
{
public:
    OwnDisplay()
    {
        m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp"});
        if (m_server.waitForReadyRead(10000))
            name = QStringLiteral(":") + QString::fromLatin1(m_server.readLine().trimmed());
    }
    ~OwnDisplay() { end(); }
    void end()
    {
        m_server.kill();
        m_server.waitForFinished();
    }
    QString name;

private:
    QProcess m_server;
};
} // namespace

class TrayX11Test : public QObject
{
    Q_OBJECT

private slots:
    void iconHidesAndBringsBackTheWindowWithOneBalloon();
    void everyWayOfEndingSavesTheKillList();
};

void TrayX11Test::iconHidesAndBringsBackTheWindowWithOneBalloon()
{
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    form.Option3->click();
    auto *shell = dynamic_cast<QtNotifyIconShell *>(real.platform.notifyIconShell.get());
    // Made once the window is up, so that asking how to show it never holds the window up.
    QSystemTrayIcon *icon = nullptr;
    QTRY_VERIFY((icon = shell->icon(form.cSysTray1->ownerWindow(), 0)) && icon->isVisible());
    QCOMPARE(icon->toolTip(), QStringLiteral("Trelvanix"));
    QTRY_VERIFY_WITH_TIMEOUT(!icon->geometry().isEmpty(), 10000); // docked

    QStringList balloon;
    bool withdrawnDuringBalloon = false;
    XConnection x;
    whenBalloonShows([&](QStringList texts) {
        balloon = texts;
        // Hidden for the window manager too, not only for Qt.
        withdrawnDuringBalloon = !readWindowFacts(x, {xcb_window_t(form.winId())}).front().visible;
        // A second later, as a user would, and still during the balloon.
        QTimer::singleShot(1000, [icon] { clickOn(icon); });
    });
    const QString window = QString::number(form.winId());
    QVERIFY(xdotool({"windowminimize", window}));
    QTRY_VERIFY_WITH_TIMEOUT(!balloon.isEmpty(), 10000);
    QVERIFY(balloon.contains(QStringLiteral("Trelvanix")));
    QVERIFY(balloon.contains(
        QStringLiteral("has been minimized to the system tray.\r\nClick on the blue 'Q' icon "
                       "(Q for Quorbel) to bring the software back.")));
    QVERIFY(withdrawnDuringBalloon);
    QTRY_VERIFY_WITH_TIMEOUT(form.isActiveWindow() && form.windowHandle()->isExposed(), 10000);
    QVERIFY(!form.minimizedToTray);
    QTest::qWait(500); // the window manager's own handling of the return settles

    // The second minimise hides it without a balloon.
    QVERIFY(xdotool({"windowminimize", window}));
    QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 10000);
    QTest::qWait(300);
    QCOMPARE(form.cSysTray1->OnceCount(), 1);
    QVERIFY(!form.cSysTray1->BalloonShowing());
    QVERIFY(!readWindowFacts(x, {xcb_window_t(form.winId())}).front().visible);
    QVERIFY(clickOn(icon));
    QTRY_VERIFY_WITH_TIMEOUT(form.isActiveWindow(), 10000);

    QVERIFY(form.close());
    QVERIFY(!shell->icon(form.cSysTray1->ownerWindow(), 0));
}

void TrayX11Test::everyWayOfEndingSavesTheKillList()
{
    QTemporaryDir config;
    const QString storeFile = config.filePath(QStringLiteral("Quorbel.conf"));
    const auto store = [&](const QString &list) {
        QFile file(storeFile);
        return file.open(QIODevice::WriteOnly) &&
               file.write("[Trelvanix]\nProcesses=" + list.toUtf8() + "\n") > 0;
    };
    XTestDisplay x;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QVERIFY(store(killList));
        Program program(config.path());
        QVERIFY(program.mainWindow(x) != 0);
        QVERIFY(store(QStringLiteral("changed while it ran")));
        ::kill(static_cast<pid_t>(program.processId()), signal);
        QVERIFY(program.process().waitForFinished(10000));
        QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process().exitCode(), 0);
        QVERIFY2(stores(config, QStringLiteral("Processes=") + killList), strsignal(signal));
    }

    // Qt ends the program when its display goes; the list is saved all the same.
    OwnDisplay display;
    QVERIFY(!display.name.isEmpty());
    QVERIFY(store(killList));
    Program program(config.path(), qEnvironmentVariable("TRELVANIX_BUILD_DIR") + "/trelvanix",
                    display.name);
    QProcess find;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display.name);
    find.setProcessEnvironment(environment);
    find.start(QStringLiteral("xdotool"),
               {"search", "--sync", "--pid", QString::number(program.processId())});
    // What went wrong, should the window not come: both programs' own words.
    QVERIFY2(
        find.waitForFinished(20000) && find.exitCode() == 0,
        qPrintable(QStringLiteral("xdotool said: %3; the program is %1, and said: %2")
                       .arg(program.process().state() == QProcess::Running
                                ? QStringLiteral("running")
                                : QStringLiteral("ended with %1").arg(program.process().exitCode()),
                            QString::fromLocal8Bit(program.process().readAllStandardError()),
                            QString::fromLocal8Bit(find.readAllStandardError()))));
    QVERIFY(store(QStringLiteral("changed while it ran")));
    display.end();
    QVERIFY(program.process().waitForFinished(10000));
    QVERIFY(stores(config, QStringLiteral("Processes=") + killList));
}

QTEST_MAIN(TrayX11Test)
#include "tst_tray_x11.moc"
