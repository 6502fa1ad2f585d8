// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window on a real X display with a window manager: the program
// itself, started and ended by this test, and the window in this process.
#include "app/Form1.h"
#include "app/Form1Layout.h"
#include "app/ListView.h"
#include "common/Twips.h"
#include "platform/PlatformServices.h"
#include "support/FakeDialogs.h"
#include "support/RealForm.h"
#include "support/XTestDisplay.h"

#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

class MainWindowX11Test : public QObject
{
    Q_OBJECT

private slots:
    void programOpensCentredFixedWindowAndEndsWhenClosed();
    void runningListHoldsThisProcessAndOneItStarted();
};

void MainWindowX11Test::programOpensCentredFixedWindowAndEndsWhenClosed()
{
    QTemporaryDir config;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("TRELVANIX_BUILD_DIR") + QStringLiteral("/trelvanix"));
    QVERIFY(program.waitForStarted());

    XTestDisplay x;
    QTRY_VERIFY_WITH_TIMEOUT(!x.windowsOfProcess(program.processId()).empty(), 20000);
    QTest::qWait(300); // an error box at start-up would be a second window
    const auto windows = x.windowsOfProcess(program.processId());
    QCOMPARE(windows.size(), 1u);
    const xcb_window_t window = windows.front();
    QCOMPARE(x.title(window), QStringLiteral("Trelvanix"));

    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    const QSize client = twipsToPixels(Form1Layout::clientArea, dpi).size();
    QTRY_COMPARE(x.geometry(window).size(), client);
    const auto hints = x.cardinals(window, "WM_NORMAL_HINTS", XCB_ATOM_WM_SIZE_HINTS);
    QVERIFY(hints.size() >= 9);
    QCOMPARE(QSize(int(hints[5]), int(hints[6])), client); // minimum size
    QCOMPARE(QSize(int(hints[7]), int(hints[8])), client); // maximum size
    // Motif hints: functions given (bit 0), minimise (8) but no maximise (16).
    const auto motif = x.cardinals(window, "_MOTIF_WM_HINTS", x.atom("_MOTIF_WM_HINTS"));
    QVERIFY(motif.size() >= 2);
    QVERIFY(motif[0] & 1);
    QVERIFY(motif[1] & 8);
    QVERIFY(!(motif[1] & 16));
    // The icon comes in several sizes, 16 x 16 among them.
    const auto icon = x.cardinals(window, "_NET_WM_ICON", XCB_ATOM_CARDINAL);
    bool has16 = false;
    for (std::size_t at = 0; at + 1 < icon.size(); at += 2 + icon[at] * icon[at + 1])
        has16 = has16 || (icon[at] == 16 && icon[at + 1] == 16);
    QVERIFY(has16);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint offCentre = x.geometry(window).center() - screen.center();
    QVERIFY2(qAbs(offCentre.x()) < 40 && qAbs(offCentre.y()) < 60,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));

    x.requestClose(window);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void MainWindowX11Test::runningListHoldsThisProcessAndOneItStarted()
{
    FakeDialogs dialogs;
    QProcess sleeper;
    sleeper.start(QStringLiteral("/bin/sleep"), {QStringLiteral("600")});
    QVERIFY(sleeper.waitForStarted());

    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    QVERIFY(dialogs.boxes.empty());
    QCOMPARE(QFontInfo(form.font()).family(), QStringLiteral("Liberation Sans"));
    QVERIFY(QFontInfo(form.font()).bold());

    QStringList ids;
    for (int position = 1; position <= form.ListView1->count(); ++position) {
        ids << form.ListView1->subItem(position, 1);
        if (position > 1)
            QVERIFY(form.ListView1->text(position - 1)
                        .compare(form.ListView1->text(position), Qt::CaseInsensitive) <= 0);
    }
    QCOMPARE(ids.count(QString::number(QCoreApplication::applicationPid())), 1);
    QCOMPARE(ids.count(QString::number(sleeper.processId())), 1);
    QVERIFY(!ids.contains(QStringLiteral("1"))); // the snapshot's first entry
    QCOMPARE(form.ListView1->verticalScrollBar()->value(), 0);

    sleeper.kill();
    sleeper.waitForFinished();
}

QTEST_MAIN(MainWindowX11Test)
#include "tst_mainwindow_x11.moc"
