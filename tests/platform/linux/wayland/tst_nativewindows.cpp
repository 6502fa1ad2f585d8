// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Native windows on a private headless sway, KWin and GNOME Shell: the task
// pass lists them under IDs of their own, closes those that agree, and never
// lists ours.
#include "app/ListView.h"
#include "platform/linux/session/SessionWindows.h"
#include "platform/linux/x11/WindowControl.h"
#include "platform/linux/x11/WindowWalk.h"
#include "proc/TaskPass.h"

#include "support/FakeDialogs.h"
#include "support/HelperWindows.h"
#include "support/RealForm.h"
#include "support/WaylandClient.h"

#include <QTest>
#include <QWidget>

using namespace std::chrono_literals;

class WaylandWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void listsAndClosesNativeWindows();
    void manyWindowsAndATitleChangedMidWalk();
    void ourOwnWindowsAreNotListed();
    void xwaylandWindowsAreListedOnce();
    void theMainWindowClosesACheckedNativeWindow();
};

namespace
{
struct Session {
    // Returns once the compositor has answered: KWin first reads all of our
    // executable, which takes a while for a test built with sanitizers.
    explicit Session(SessionWindows::OwnWindows own = {}) : windows(connect(std::move(own)))
    {
        // One that does not answer fails the test's first check.
        static_cast<void>(QTest::qWaitFor(
            [this] {
                windows->native().refresh(std::chrono::steady_clock::now() + 100ms);
                return windows->native().hasAnswered();
            },
            10000));
    }
    static std::shared_ptr<SessionWindows> connect(SessionWindows::OwnWindows own)
    {
        auto x = std::make_shared<XConnection>();
        return std::make_shared<SessionWindows>(std::make_unique<X11WindowWalk>(x),
                                                std::make_unique<X11WindowControl>(x),
                                                connectNativeWindows(), std::move(own));
    }
    // The task pass's rows whose titles start with `prefix`, top first.
    std::vector<TaskSlot> tasks(const QString &prefix)
    {
        TaskTable table;
        enumTopWindows(walk, table, 0, 0);
        std::vector<TaskSlot> found;
        for (int i = 0; i < table.count(); ++i)
            if (table.at(i).Name.startsWith(prefix))
                found.push_back(table.at(i));
        return found;
    }
    QStringList titles(const QString &prefix) { return namesOf(tasks(prefix)); }
    static QStringList namesOf(const std::vector<TaskSlot> &tasks)
    {
        QStringList names;
        for (const TaskSlot &task : tasks)
            names << task.Name;
        return names;
    }
    // How many of the compositor's windows, ours among them, have titles
    // that start with `prefix`.
    qsizetype windowsNamed(const QString &prefix)
    {
        tasks(prefix);
        const auto all = windows->native().windows().topFirst();
        return std::count_if(all.begin(), all.end(), [&](const Toplevel *window) {
            return window->title.startsWith(prefix);
        });
    }

    std::shared_ptr<SessionWindows> windows;
    SessionWindowWalk walk{windows};
    SessionWindowControl control{windows};
};

WindowHandle handleOf(const TaskSlot &task)
{
    return WindowHandle(task.ID);
}
} // namespace

void WaylandWindowsTest::listsAndClosesNativeWindows()
{
    WaylandClient client;
    QVERIFY(client.open("a", "Trelvanix alpha") && client.open("b", "Trelvanix beta"));
    Session session;
    const auto listed = session.tasks("Trelvanix ");
    // The compositor activates each new window: the newest is on top.
    QCOMPARE(Session::namesOf(listed), QStringList({"Trelvanix beta", "Trelvanix alpha"}));
    QVERIFY(session.windows->isNative());

    const auto deadline = std::chrono::steady_clock::now() + 10s;
    session.control.requestClose(handleOf(listed[0]));
    session.control.waitUntilClosed({handleOf(listed[0])}, deadline);
    QVERIFY(std::chrono::steady_clock::now() < deadline);
    QVERIFY(client.await("closed b"));
    QCOMPARE(session.titles("Trelvanix "), QStringList({"Trelvanix alpha"}));

    // A window that asks its user first stays, and the wait ends at its deadline.
    client.send("refuse a");
    QVERIFY(client.await("refusing a"));
    session.control.requestClose(handleOf(listed[1]));
    const auto shortDeadline = std::chrono::steady_clock::now() + 300ms;
    session.control.waitUntilClosed({handleOf(listed[1])}, shortDeadline);
    QVERIFY(std::chrono::steady_clock::now() >= shortDeadline);
    QVERIFY(client.await("asked a"));
    QCOMPARE(session.titles("Trelvanix "), QStringList({"Trelvanix alpha"}));

    // The closed window's ID is never another's.
    QVERIFY(client.open("c", "Trelvanix gamma"));
    const auto now = session.tasks("Trelvanix ");
    QCOMPARE(now.size(), size_t(2));
    QCOMPARE(now[0].Name, QStringLiteral("Trelvanix gamma"));
    QVERIFY(now[0].ID != listed[0].ID && now[0].ID != listed[1].ID);
    session.control.requestClose(handleOf(listed[0]));
    QVERIFY(!client.await("closed c", 300));
}

void WaylandWindowsTest::manyWindowsAndATitleChangedMidWalk()
{
    WaylandClient client;
    client.send("many 200 W");
    QVERIFY(client.await("mapped-all 200", 30000));
    Session session;
    QCOMPARE(session.tasks("W ").size(), size_t(200));

    // A walk lists the windows as they stood when it began.
    QStringList walked;
    WindowHandle window = session.walk.first(0);
    client.send("title W1 Changed");
    QVERIFY(client.await("titled W1"));
    for (; window != 0; window = session.walk.next(window))
        walked << session.walk.title(window, session.walk.titleLength(window) + 1);
    QCOMPARE(walked.filter(QRegularExpression("^W \\d+$")).size(), 200);
    QVERIFY(!walked.contains("Changed"));
    const QStringList after = session.titles("");
    QCOMPARE(after.count("Changed"), 1);
    QCOMPARE(after.filter(QRegularExpression("^W \\d+$")).size(), 199);
}

void WaylandWindowsTest::ourOwnWindowsAreNotListed()
{
    const QString title = QStringLiteral("Trelvanix own");
    QWidget own;
    own.setWindowTitle(title);
    own.show();
    QVERIFY(QTest::qWaitForWindowExposed(&own));
    WaylandClient ownNative(QCoreApplication::applicationName());
    WaylandClient other(QStringLiteral("other-program"));
    QVERIFY(ownNative.open("n", title) && other.open("o", title));

    SessionWindows::OwnWindows ours;
    ours.appIds = {QCoreApplication::applicationName()};
    ours.titles = [&] { return std::vector<QString>{own.windowTitle()}; };
    Session session(ours);
    // All three are the compositor's windows (KWin numbers the titles that
    // repeat one: "Trelvanix own <2>")...
    QTRY_COMPARE(session.windowsNamed(title), 3);
    // ...but our XWayland window is left out, and the same title from another
    // program is listed. KWin names each window's process, and the native
    // window with our app_id comes from another one: it is listed there.
    // Where the compositor does not, our app_id with our title marks a window
    // as ours, but only as many as we show: the impostor's is listed.
    QTRY_COMPARE(session.tasks(title).size(), 2u);
}

void WaylandWindowsTest::xwaylandWindowsAreListedOnce()
{
    HelperWindows x11(1, QStringLiteral("Trelvanix x11"));
    QVERIFY(x11.waitUntilShown());
    Session session;
    QCOMPARE(session.titles("Trelvanix x11"), QStringList({"Trelvanix x11"}));
}

// The program as a user has it: the native window is a Task row, and the
// kill pass closes it; the program's own window is no row.
void WaylandWindowsTest::theMainWindowClosesACheckedNativeWindow()
{
    WaylandClient client;
    QVERIFY(client.open("k", "Trelvanix native"));
    FakeDialogs dialogs;
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    form.Option3->click();
    const auto rowsNamed = [&](const QString &name) {
        std::vector<int> rows;
        for (int position = 1; position <= form.ListView1->count(); ++position)
            if (form.ListView1->text(position) == name)
                rows.push_back(position);
        return rows;
    };
    // Listed without a refresh by the user, where the session is asked only
    // once the window is up.
    QTRY_COMPARE(rowsNamed(QStringLiteral("Trelvanix native")).size(), size_t(1));
    form.PushButton1->click(); // now that the window is on the screen
    QCOMPARE(rowsNamed(form.windowTitle()).size(), size_t(0));
    const auto native = rowsNamed(QStringLiteral("Trelvanix native"));
    QCOMPARE(native.size(), size_t(1));
    QCOMPARE(form.ListView1->subItem(native[0], 2), QStringLiteral("Task"));

    form.ListView1->setChecked(native[0], true);
    form.PushButton5->click();
    QVERIFY(client.await("closed k"));
    QVERIFY(!form.killBusy);
    QCOMPARE(rowsNamed(QStringLiteral("Trelvanix native")).size(), size_t(0));
    QVERIFY(dialogs.boxes.empty());
}

QTEST_MAIN(WaylandWindowsTest)
#include "tst_nativewindows.moc"
