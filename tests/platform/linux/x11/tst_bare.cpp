// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window walk on an X display without a window manager, where one that
// ran before has left its properties behind on the root.
#include "app/Form1.h"
#include "platform/linux/x11/WindowControl.h"
#include "platform/linux/x11/WindowOrder.h"
#include "platform/linux/x11/WindowWalk.h"
#include "proc/TaskPass.h"
#include "support/HelperWindows.h"
#include "support/RealForm.h"
#include "support/XTestDisplay.h"

#include <QProcess>
#include <QTest>

class BareX11Test : public QObject
{
    Q_OBJECT

private slots:
    void walksTheRootsChildrenTopFirstDespiteAStaleManagerCheck();
    void goneWindowReadsAsNoTaskAndEndsNothing();
    void closeRequestsCloseEveryCooperatingWindow();
    void withoutATrayHostAMinimisedWindowStaysReachable();
    void withoutADisplayTheProgramSaysWhatIsMissing();
};

void BareX11Test::walksTheRootsChildrenTopFirstDespiteAStaleManagerCheck()
{
    XTestDisplay x;
    // What an exited manager leaves: a check pointing to a window that is gone,
    // and a stacking list of windows that are gone too.
    const xcb_window_t gone = x.createWindow({.title = {}, .mapped = false});
    xcb_destroy_window(x.c, gone);
    const uint32_t stale[] = {gone};
    xcb_change_property(x.c, XCB_PROP_MODE_REPLACE, x.root, x.atom("_NET_SUPPORTING_WM_CHECK"),
                        XCB_ATOM_WINDOW, 32, 1, stale);
    xcb_change_property(x.c, XCB_PROP_MODE_REPLACE, x.root, x.atom("_NET_CLIENT_LIST_STACKING"),
                        XCB_ATOM_WINDOW, 32, 1, stale);

    const xcb_window_t bottom = x.createWindow({"Trelvanix test bottom"});
    x.createWindow({.title = "Trelvanix test unmapped", .mapped = false});
    x.createWindow({.title = "Trelvanix test pop-up", .overrideRedirect = true});
    // A frame of the kind a manager makes, with its client inside.
    const xcb_window_t frame = x.createWindow({});
    const xcb_window_t client = xcb_generate_id(x.c);
    xcb_create_window(x.c, XCB_COPY_FROM_PARENT, client, frame, 0, 0, 50, 50, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    x.setTitle(client, "Trelvanix test framed", XTestDisplay::NewWindow::Utf8);
    const uint32_t normal[] = {1, XCB_WINDOW_NONE};
    xcb_change_property(x.c, XCB_PROP_MODE_REPLACE, client, x.atom("WM_STATE"), x.atom("WM_STATE"),
                        32, 2, normal);
    xcb_map_window(x.c, client);
    const xcb_window_t top = x.createWindow({"Trelvanix test top"});
    QTRY_VERIFY(x.isViewable(top) && x.isViewable(client));

    X11WindowWalk walk(std::make_shared<XConnection>());
    TaskTable table;
    const int count = enumTopWindows(walk, table, 0, 0);
    QStringList ours;
    for (int slot = 0; slot < count; ++slot)
        ours << table.at(slot).Name;
    QCOMPARE(ours,
             QStringList({"Trelvanix test top", "Trelvanix test framed", "Trelvanix test bottom"}));
    QCOMPARE(table.at(1).ID, qint32(client));
    QCOMPARE(table.at(2).ID, qint32(bottom));
}

void BareX11Test::goneWindowReadsAsNoTaskAndEndsNothing()
{
    XTestDisplay x;
    const xcb_window_t window = x.createWindow({"Trelvanix test short-lived"});
    QTRY_VERIFY(x.isViewable(window));
    xcb_destroy_window(x.c, window);
    xcb_flush(x.c);
    QTRY_VERIFY(!x.isViewable(window));

    const auto connection = std::make_shared<XConnection>();
    X11WindowWalk walk(connection);
    QCOMPARE(walk.style(window), 0u);
    QCOMPARE(walk.titleLength(window), 0);
    QCOMPARE(walk.title(window, 100), QString());
    X11WindowOrder order(std::make_shared<XConnection>());
    order.makeTopmost(window);
    order.sendToBottom(window);
    // A checked row of it in a kill pass: the request goes nowhere, and the
    // window counts as closed at once.
    X11WindowControl closing(connection);
    closing.requestClose(window);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    closing.waitUntilClosed({window}, deadline);
    QVERIFY(std::chrono::steady_clock::now() < deadline);
    QVERIFY(walk.first(0) != 0); // the connection still serves
}

void BareX11Test::closeRequestsCloseEveryCooperatingWindow()
{
    checkCloseRequestsOnThisDisplay(5);
}

void BareX11Test::withoutATrayHostAMinimisedWindowStaysReachable()
{
    RealForm real;
    QVERIFY(real.loadAndShow());
    real.form.showMinimized();
    QTest::qWait(300);
    QVERIFY(real.form.isVisible());
    QVERIFY(!real.form.minimizedToTray);
}

void BareX11Test::withoutADisplayTheProgramSaysWhatIsMissing()
{
    struct Case {
        QString display;
        QStringList arguments;
        const char *said;
    };
    // The last display answers the check, but the toolkit's own connection
    // goes elsewhere and is refused, as a display that refuses the second
    // connection of a start does.
    const Case cases[] = {{"", {}, "DISPLAY is not set"},
                          {":65000", {}, "\":65000\""},
                          {qEnvironmentVariable("DISPLAY"), {"-display", ":65000"}, ":65000"}};
    for (const Case &each : cases) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        if (!each.display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), each.display);
        program.setProcessEnvironment(environment);
        program.start(qEnvironmentVariable("TRELVANIX_BUILD_DIR") + "/trelvanix", each.arguments);
        QVERIFY(program.waitForFinished(20000));
        const QByteArray said = program.readAllStandardError();
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == 2, said.constData());
        QCOMPARE(said.count('\n'), 1);
        QVERIFY2(said.contains(each.said) && said.contains("make run"), said.constData());
    }
}

QTEST_MAIN(BareX11Test)
#include "tst_bare.moc"
