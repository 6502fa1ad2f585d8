// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window layer on a real X display with a window manager: the task pass
// over windows this test opens, and the keep-on-top order.
#include "app/Form1.h"
#include "app/ListView.h"
#include "platform/PlatformServices.h"
#include "platform/linux/x11/WindowOrder.h"
#include "platform/linux/x11/WindowWalk.h"
#include "proc/TaskPass.h"
#include "support/FakeDialogs.h"
#include "support/HelperWindows.h"
#include "support/RealForm.h"
#include "support/XTestDisplay.h"

#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace
{
using NewWindow = XTestDisplay::NewWindow;
const QString ourPrefix = QStringLiteral("Trelvanix test ");

// The tasks among the windows that this test opened: title by ID text.
std::map<QString, QString> ourTasks(WindowWalk &walk)
{
    TaskTable table;
    const int count = enumTopWindows(walk, table, 0, 0);
    std::map<QString, QString> tasks;
    for (int slot = 0; slot < count; ++slot) {
        const TaskSlot &task = table.at(slot);
        if (task.Name.startsWith(ourPrefix) &&
            !tasks.emplace(QString::number(task.ID), task.Name.mid(ourPrefix.size())).second)
            return {}; // one task per window
    }
    return tasks;
}

QString idText(xcb_window_t window)
{
    return QString::number(qint32(window));
}
} // namespace

class WindowsX11Test : public QObject
{
    Q_OBJECT

private slots:
    void tasksAreTheShownDecoratedTitledWindows();
    void titlesDecodeFromEveryEncoding();
    void hugeTitlesKeepTheirFirstCharacters_data();
    void hugeTitlesKeepTheirFirstCharacters();
    void programsOwnWindowIsNeverATaskButItsMessageBoxIs();
    void topmostWindowStaysAboveNewOnesUntilSentToTheBottom();
    void windowMadeTopmostBeforeItIsShownCanBeSentToTheBottom();
    void closeRequestsCloseEveryCooperatingWindow();
};

void WindowsX11Test::tasksAreTheShownDecoratedTitledWindows()
{
    XTestDisplay x;
    const xcb_window_t titled = x.createWindow({"Trelvanix test titled"});
    const xcb_window_t twinA = x.createWindow({"Trelvanix test twin"});
    const xcb_window_t twinB = x.createWindow({"Trelvanix test twin"});
    const xcb_window_t minimised = x.createWindow({"Trelvanix test minimised"});
    const xcb_window_t untitled = x.createWindow({});
    x.createWindow({.title = "Trelvanix test hidden", .mapped = false});
    const xcb_window_t popup =
        x.createWindow({.title = "Trelvanix test override", .overrideRedirect = true});
    const xcb_window_t dock = x.createWindow({.title = "Trelvanix test dock", .dock = true});
    const xcb_window_t bare =
        x.createWindow({.title = "Trelvanix test undecorated", .undecorated = true});
    for (xcb_window_t window : {titled, twinA, twinB, minimised, untitled, bare})
        QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(window), 10000);
    QTRY_VERIFY(x.isViewable(popup));
    QTRY_VERIFY(x.isViewable(dock));
    x.minimise(minimised);
    QTRY_VERIFY(!x.isViewable(minimised));

    X11WindowWalk walk(std::make_shared<XConnection>());
    const auto tasks = ourTasks(walk);
    const std::map<QString, QString> expected{{idText(titled), QStringLiteral("titled")},
                                              {idText(twinA), QStringLiteral("twin")},
                                              {idText(twinB), QStringLiteral("twin")},
                                              {idText(minimised), QStringLiteral("minimised")}};
    QCOMPARE(tasks, expected);
}

void WindowsX11Test::titlesDecodeFromEveryEncoding()
{
    XTestDisplay x;
    const xcb_window_t utf8 = x.createWindow({"Trelvanix test Grüße ✓"});
    const xcb_window_t latin1 =
        x.createWindow({.title = "Trelvanix test caf\xe9", .encoding = NewWindow::Latin1});
    // ESC - L selects ISO 8859-5 (Cyrillic) for the upper half.
    const xcb_window_t compound =
        x.createWindow({.title = "Trelvanix test \x1b-L\xbf\xe0\xd8\xd2\xd5\xe2",
                        .encoding = NewWindow::CompoundText});
    for (xcb_window_t window : {utf8, latin1, compound})
        QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(window), 10000);

    X11WindowWalk walk(std::make_shared<XConnection>());
    const std::map<QString, QString> expected{{idText(utf8), QStringLiteral("Grüße ✓")},
                                              {idText(latin1), QStringLiteral("café")},
                                              {idText(compound), QStringLiteral("Привет")}};
    // The manager lists a window in its stacking order a moment after managing it.
    QTRY_COMPARE_WITH_TIMEOUT(ourTasks(walk), expected, 10000);
}

void WindowsX11Test::hugeTitlesKeepTheirFirstCharacters_data()
{
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("listed");
    const QByteArray prefix = ourPrefix.toUtf8();
    const QString check = QStringLiteral("\u2713").repeated(1009);
    QTest::newRow("UTF-8") << prefix + QByteArray("\xe2\x9c\x93").repeated(6000)
                           << int(NewWindow::Utf8) << check;
    // 15 + 1009 units would end inside the last pair.
    const QString grin = QString::fromUtf8("\xf0\x9f\x98\x80");
    QTest::newRow("UTF-8 pairs") << prefix + QByteArray("\xf0\x9f\x98\x80").repeated(3000)
                                 << int(NewWindow::Utf8) << grin.repeated(504);
    QTest::newRow("Latin-1") << prefix + QByteArray("\xe9").repeated(10000)
                             << int(NewWindow::Latin1) << QStringLiteral("\u00e9").repeated(1009);
    QTest::newRow("COMPOUND_TEXT")
        << prefix + "\x1b-L" + QByteArray("\xbf").repeated(10000) << int(NewWindow::CompoundText)
        << QStringLiteral("\u041f").repeated(1009);
}

void WindowsX11Test::hugeTitlesKeepTheirFirstCharacters()
{
    QFETCH(QByteArray, title);
    QFETCH(int, encoding);
    QFETCH(QString, listed);
    XTestDisplay x;
    const xcb_window_t window =
        x.createWindow({.title = title, .encoding = NewWindow::Encoding(encoding)});
    QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(window), 10000);
    X11WindowWalk walk(std::make_shared<XConnection>());
    QTRY_COMPARE_WITH_TIMEOUT(ourTasks(walk).size(), 1u, 10000);
    QCOMPARE(ourTasks(walk).begin()->second, listed);
}

void WindowsX11Test::programsOwnWindowIsNeverATaskButItsMessageBoxIs()
{
    FakeDialogs dialogs;
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Trelvanix"),
                    QStringLiteral("Must be a numeric value."), QMessageBox::Ok, &form);
    box.show();
    XTestDisplay x;
    QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(static_cast<xcb_window_t>(box.winId())), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(static_cast<xcb_window_t>(form.winId())), 10000);

    form.ListView1->removeAllRows();
    form.loadWindows();
    QStringList taskIds;
    for (int position = 1; position <= form.ListView1->count(); ++position)
        if (form.ListView1->subItem(position, 2) == QStringLiteral("Task"))
            taskIds << form.ListView1->subItem(position, 1);
    QVERIFY(taskIds.contains(QString::number(box.winId())));
    QVERIFY(!taskIds.contains(QString::number(form.winId())));
    QVERIFY(dialogs.boxes.empty());
}

void WindowsX11Test::topmostWindowStaysAboveNewOnesUntilSentToTheBottom()
{
    XTestDisplay x;
    const xcb_window_t ours = x.createWindow({"Trelvanix test keeps on top"});
    const xcb_window_t other = x.createWindow({"Trelvanix test other"});
    QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(ours) && x.isManaged(other), 10000);

    X11WindowOrder order(std::make_shared<XConnection>());
    order.makeTopmost(ours);
    QTRY_VERIFY(x.hasState(ours, "_NET_WM_STATE_ABOVE"));
    QTRY_VERIFY(x.stackingIndex(ours) < x.stackingIndex(other));
    const xcb_window_t later = x.createWindow({"Trelvanix test opened later"});
    QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(later), 10000);
    QTest::qWait(200);
    QVERIFY(x.stackingIndex(ours) < x.stackingIndex(later));

    order.sendToBottom(ours);
    QTRY_VERIFY(!x.hasState(ours, "_NET_WM_STATE_ABOVE"));
    QTRY_VERIFY(x.stackingIndex(ours) > x.stackingIndex(other));
    QTRY_VERIFY(x.stackingIndex(ours) > x.stackingIndex(later));
}

void WindowsX11Test::windowMadeTopmostBeforeItIsShownCanBeSentToTheBottom()
{
    XTestDisplay x;
    const xcb_window_t other = x.createWindow({"Trelvanix test other"});
    const xcb_window_t ours = x.createWindow({.title = "Trelvanix test early", .mapped = false});
    X11WindowOrder order(std::make_shared<XConnection>());
    order.makeTopmost(ours);
    xcb_map_window(x.c, ours);
    xcb_flush(x.c);
    QTRY_VERIFY_WITH_TIMEOUT(x.isManaged(ours) && x.isManaged(other), 10000);
    QTRY_VERIFY(x.hasState(ours, "_NET_WM_STATE_ABOVE"));
    QTRY_VERIFY(x.stackingIndex(ours) < x.stackingIndex(other));
    order.sendToBottom(ours);
    QTRY_VERIFY(!x.hasState(ours, "_NET_WM_STATE_ABOVE"));
    QTRY_VERIFY(x.stackingIndex(ours) > x.stackingIndex(other));
}

void WindowsX11Test::closeRequestsCloseEveryCooperatingWindow()
{
    checkCloseRequestsOnThisDisplay(50);
}

QTEST_MAIN(WindowsX11Test)
#include "tst_windows.moc"
