// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows backends on the system's own calls, on a real desktop with a
// tray: processes and windows that this test starts and ends itself.
#include "app/Form1.h"
#include "app/ListView.h"
#include "platform/PlatformServices.h"
#include "platform/SettingsStore.h"
#include "platform/win32/Handles_win32.h"
#include "support/FakeDialogs.h"
#include "support/RealForm.h"
#include "support/TestSettingsStore.h"

#include <QAbstractButton>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <map>

namespace
{
QString toolPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../trelvanix-wintool.exe");
}

// A child of ours from the test tool beside the program (or a copy of it),
// once it is there.
bool startTool(QProcess &tool, const QStringList &arguments, const QString &program = toolPath())
{
    tool.start(program, arguments);
    return tool.waitForStarted(10000) && tool.waitForReadyRead(20000) &&
           tool.readLine().trimmed() == "ready";
}

std::map<QString, WindowHandle> titledWindows(WindowWalk &walk, WindowHandle start)
{
    std::map<QString, WindowHandle> found;
    for (WindowHandle window = walk.first(start); window; window = walk.next(window))
        if (const int length = walk.titleLength(window); length > 0)
            found[walk.title(window, length + 1)] = window;
    return found;
}
} // namespace

class Win32BackendsTest : public QObject
{
    Q_OBJECT

private slots:
    void snapshotListsAChildAndOpensItOnlyAsTheProcessItSaw();
    void killPassEndsACheckedChild();
    void captionsFitTheirControlsAndTheListShowsEightRows();
    void namesAndTitlesInAnyScriptAreListedAndFoundWhole();
    void closeRequestsCloseAWindowThatAgreesAndLeaveOnesThatRefuseOrHang();
    void windowOrderMakesTopmostAndSendsToTheBottom();
    void trayRecordReachesTheShell();
    void subclassedWindowGetsItsMessagesFirst();
    void registryStoreKeepsEveryKeyAndWhatIsTypedByHand();
    void registryStoreReportsAFailedWrite();

private:
    PlatformServices m_platform = createPlatformServices();
};

void Win32BackendsTest::snapshotListsAChildAndOpensItOnlyAsTheProcessItSaw()
{
    QProcess child;
    QVERIFY(startTool(child, {QStringLiteral("sleep")}));
    const auto id = static_cast<quint32>(child.processId());

    const auto snapshot = m_platform.processSnapshots->takeSnapshot();
    ProcessEntry entry;
    QVERIFY(snapshot->first(entry));
    QVERIFY(entry.processId != id);
    QString name;
    std::optional<quint64> identity;
    while (snapshot->next(entry)) {
        if (entry.processId == id) {
            name = QString::fromLocal8Bit(entry.exeFile);
            identity = entry.identity;
        }
    }
    QCOMPARE(name, QStringLiteral("trelvanix-wintool.exe"));
    QVERIFY(identity);

    // Another creation time is another process that took the ID over.
    ProcessControl &control = *m_platform.processControl;
    QVERIFY(!control.open(id, *identity + 1).handle);
    QVERIFY(!control.open(id, std::nullopt).handle);
    // A handle of the test's own keeps the process's ID taken once it has
    // exited, as anyone's may: the system then still opens it.
    const HANDLE watch = OpenProcess(SYNCHRONIZE, FALSE, id);
    QVERIFY(watch);
    OpenedProcess opened = control.open(id, identity);
    QVERIFY(opened.handle);
    QVERIFY(opened.handle->terminate(1));
    control.waitUntilExited({opened.handle.get()},
                            std::chrono::steady_clock::now() + std::chrono::seconds(5));
    QCOMPARE(WaitForSingleObject(watch, 0), DWORD(WAIT_OBJECT_0));
    QVERIFY(!control.open(id, identity).handle);
    CloseHandle(watch);
    QVERIFY(child.waitForFinished(5000));
}

void Win32BackendsTest::killPassEndsACheckedChild()
{
    FakeDialogs dialogs;
    QProcess child;
    QVERIFY(startTool(child, {QStringLiteral("sleep")}));
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    int row = 0;
    for (int position = 1; position <= form.ListView1->count(); ++position)
        if (form.ListView1->subItem(position, 1) == QString::number(child.processId()))
            row = position;
    QVERIFY(row > 0);
    QCOMPARE(form.ListView1->text(row), QStringLiteral("trelvanix-wintool.exe"));
    // Only an idle entry, ID 0, stands for the system; Wine's first entry is a
    // process like the others, and is listed.
    ProcessEntry first;
    QVERIFY(m_platform.processSnapshots->takeSnapshot()->first(first));
    bool firstListed = false;
    for (int position = 1; position <= form.ListView1->count(); ++position)
        firstListed |= form.ListView1->subItem(position, 1) == QString::number(first.processId);
    QCOMPARE(firstListed, first.processId != 0);
    form.ListView1->setChecked(row, true);
    form.PushButton5_Click();
    QTRY_COMPARE_WITH_TIMEOUT(child.state(), QProcess::NotRunning, 5000);
    for (int position = 1; position <= form.ListView1->count(); ++position)
        QVERIFY(form.ListView1->subItem(position, 1) != QString::number(child.processId()));
    QVERIFY(dialogs.boxes.empty());
}

// CTest runs this once more in a prefix without Arial, as a new one is and as
// many systems are: the window's faces then fall back to ones of Arial's
// metrics, and its look stays as designed.
void Win32BackendsTest::captionsFitTheirControlsAndTheListShowsEightRows()
{
    FakeDialogs dialogs;
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    // A button's, box's or option's size hint is its caption by its own font,
    // with the style's frame and margins or mark around it.
    QStringList problems;
    for (QAbstractButton *control : form.findChildren<QAbstractButton *>())
        if (control->sizeHint().width() > control->width())
            problems << QStringLiteral("%1 needs %2 of %3 px")
                            .arg(control->objectName())
                            .arg(control->sizeHint().width())
                            .arg(control->width());
    if (form.Frame2->minimumSizeHint().width() > form.Frame2->width())
        problems << QStringLiteral("Frame2's title is cut");
    ListView &list = *form.ListView1;
    QVERIFY(list.model()->rowCount() > 0);
    const int rowHeight = list.visualRect(list.model()->index(0, 0)).height();
    if (rowHeight <= 0 || list.viewport()->height() / rowHeight != 8)
        problems
            << QStringLiteral("rows of %1 px in %2").arg(rowHeight).arg(list.viewport()->height());
    QVERIFY2(problems.isEmpty(), qPrintable(QFontInfo(form.font()).family() + QStringLiteral(": ") +
                                            problems.join(QStringLiteral("; "))));
}

// The system hands names and titles to the program in its 8-bit code page,
// which the program's manifest, carried by this test too, makes UTF-8.
void Win32BackendsTest::namesAndTitlesInAnyScriptAreListedAndFoundWhole()
{
    FakeDialogs dialogs;
    const QString title = QStringLiteral("日本語 — Ελληνικά — 😀");
    const QString name = QStringLiteral("Диспетчер задач.exe");
    QTemporaryDir folder;
    QVERIFY(QFile::copy(toolPath(), folder.filePath(name)));
    QProcess window;
    QProcess process;
    QVERIFY(startTool(window, {QStringLiteral("window"), title, QStringLiteral("agree")}));
    QVERIFY(startTool(process, {QStringLiteral("sleep")}, folder.filePath(name)));
    RealForm real;
    QVERIFY(real.loadAndShow());
    ListView &list = *real.form.ListView1;
    const auto rowOf = [&list](const QString &text) {
        for (int position = 1; position <= list.count(); ++position)
            if (list.text(position) == text)
                return position;
        return 0;
    };
    QVERIFY(rowOf(name) > 0);
    QCOMPARE(list.subItem(rowOf(name), 1), QString::number(process.processId()));
    QVERIFY(rowOf(title) > 0);
    QCOMPARE(list.subItem(rowOf(title), 2), QStringLiteral("Task"));

    dialogs.answers << QStringLiteral("ελληνικά");
    real.form.PushButton7_Click();
    for (int position = 1; position <= list.count(); ++position)
        QCOMPARE(list.isChecked(position), position == rowOf(title));
    for (QProcess *tool : {&window, &process}) {
        tool->kill();
        tool->waitForFinished();
    }
}

void Win32BackendsTest::closeRequestsCloseAWindowThatAgreesAndLeaveOnesThatRefuseOrHang()
{
    std::map<QString, QProcess> tools;
    for (const char *answer : {"agree", "refuse", "hang"}) {
        const QString title = QStringLiteral("Trelvanix test ") + QLatin1String(answer);
        QVERIFY(startTool(tools[answer], {QStringLiteral("window"), title, answer}));
    }
    QWidget start;
    start.show();
    QVERIFY(QTest::qWaitForWindowExposed(&start));
    const auto startWindow = static_cast<WindowHandle>(start.winId());
    auto windows = titledWindows(*m_platform.windowWalk, startWindow);
    std::vector<WindowHandle> asked;
    for (const char *answer : {"hang", "agree", "refuse"}) {
        const QString title = QStringLiteral("Trelvanix test ") + QLatin1String(answer);
        QVERIFY(windows.count(title));
        m_platform.windowControl->requestClose(windows[title]);
        asked.push_back(windows[title]);
    }
    // The hung window holds up neither the request nor the wait past its end.
    m_platform.windowControl->waitUntilClosed(asked, std::chrono::steady_clock::now() +
                                                         std::chrono::seconds(3));
    QVERIFY(tools["agree"].waitForFinished(5000));
    QVERIFY(!tools["refuse"].waitForFinished(300));
    windows = titledWindows(*m_platform.windowWalk, startWindow);
    QVERIFY(!windows.count(QStringLiteral("Trelvanix test agree")));
    QVERIFY(windows.count(QStringLiteral("Trelvanix test refuse")));
    QVERIFY(windows.count(QStringLiteral("Trelvanix test hang")));
    for (auto &[answer, tool] : tools) {
        tool.kill();
        tool.waitForFinished();
    }
}

void Win32BackendsTest::windowOrderMakesTopmostAndSendsToTheBottom()
{
    QWidget ours, other;
    ours.setWindowTitle(QStringLiteral("Trelvanix test keeps on top"));
    other.setWindowTitle(QStringLiteral("Trelvanix test other"));
    ours.show();
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ours) && QTest::qWaitForWindowExposed(&other));
    const auto window = static_cast<WindowHandle>(ours.winId());
    const auto isTopmost = [&] {
        return (GetWindowLongA(asHwnd(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    };

    const auto above = [](HWND upper, HWND lower) {
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
            if (window == upper || window == lower)
                return window == upper;
        return false;
    };
    const auto otherWindow = reinterpret_cast<HWND>(other.winId());

    m_platform.windowOrder->makeTopmost(window);
    QVERIFY(isTopmost());
    QVERIFY(above(asHwnd(window), otherWindow));
    m_platform.windowOrder->sendToBottom(window);
    // Wine restacks its windows after the X server's order, so only the state is
    // checked here; the order at the bottom is the same call as on Windows.
    QVERIFY(!isTopmost());
}

void Win32BackendsTest::trayRecordReachesTheShell()
{
    QTRY_VERIFY_WITH_TIMEOUT(m_platform.notifyIconShell->isAvailable(), 10000);
    QWidget owner;
    owner.winId();
    NotifyIconRecord record;
    record.setNumber(NotifyIconRecord::cbSize, NotifyIconRecord::size);
    record.setNumber(NotifyIconRecord::hWnd, static_cast<quint32>(owner.winId()));
    record.setNumber(NotifyIconRecord::uID, 1);
    record.setNumber(NotifyIconRecord::uFlags,
                     NotifyIconRecord::Message | NotifyIconRecord::Icon | NotifyIconRecord::Tip);
    record.setNumber(NotifyIconRecord::uCallbackMessage, WM_APP + 1);
    record.setNumber(NotifyIconRecord::hIcon,
                     m_platform.notifyIconShell->iconHandle(
                         QApplication::style()->standardIcon(QStyle::SP_ComputerIcon)));
    record.setText(NotifyIconRecord::szTip, NotifyIconRecord::tipSize,
                   QStringLiteral("Trelvanix test"));
    NotifyIconShell &shell = *m_platform.notifyIconShell;
    QVERIFY(shell.notify(NotifyIconShell::Request::Add, record));
    record.setText(NotifyIconRecord::szTip, NotifyIconRecord::tipSize,
                   QStringLiteral("Trelvanix test, changed"));
    QVERIFY(shell.notify(NotifyIconShell::Request::Modify, record));
    QVERIFY(shell.notify(NotifyIconShell::Request::Delete, record));
    QVERIFY(!shell.notify(NotifyIconShell::Request::Modify, record));
}

void Win32BackendsTest::subclassedWindowGetsItsMessagesFirst()
{
    QWidget widget;
    widget.setWindowTitle(QStringLiteral("Trelvanix test"));
    WindowProcedureHook &hook = *m_platform.windowProcedures;
    const WindowHandle window = hook.windowOf(&widget);
    QStringList seen;
    WindowProcedureHook::Procedure previous;
    previous = hook.replace(window, [&](WindowHandle w, quint32 message, quintptr wp, qintptr lp) {
        if (message == WM_APP + 7) {
            seen << QStringLiteral("own");
            return qintptr(42);
        }
        return previous(w, message, wp, lp);
    });
    QVERIFY(previous);
    QCOMPARE(SendMessageA(asHwnd(window), WM_APP + 7, 0, 0), LRESULT(42));
    // Everything else still reaches the window's own procedure.
    QCOMPARE(SendMessageA(asHwnd(window), WM_GETTEXTLENGTH, 0, 0), LRESULT(14));
    QCOMPARE(seen, QStringList({QStringLiteral("own")}));
    hook.setUserData(window, 0x5eed);
    QCOMPARE(hook.userData(window), quintptr(0x5eed));
    // The window's end still reaches a procedure; ours goes with this test.
    hook.replace(window, previous);
}

namespace
{
// The registry key of the test store's values, under the current user.
QString sectionKey()
{
    return QStringLiteral("Software\\VB and VBA Program Settings\\") +
           TestSettingsStore::application() + QStringLiteral("\\Trelvanix");
}
} // namespace

void Win32BackendsTest::registryStoreKeepsEveryKeyAndWhatIsTypedByHand()
{
    TestSettingsStore test;
    const std::pair<QString, QString> values[] = {
        {QStringLiteral("Processes"), QStringLiteral("a.exe,b c.exe,x;y#z.exe,")},
        {QStringLiteral("Check1"), QStringLiteral("1")},
        {QStringLiteral("Text1"), QStringLiteral("2,5")},
        {QStringLiteral("Option3"), QStringLiteral("0")},
        {QStringLiteral("Option4"), QStringLiteral("")},
        {QStringLiteral("Processes"), QStringLiteral("C:\\temp \"quoted\" \u00e9\u20ac")},
        {QStringLiteral("Text1"), QStringLiteral("@Size(1 2)")},
        {QStringLiteral("Text1"), QStringLiteral("@@ stays")},
    };
    for (const auto &[key, text] : values) {
        QCOMPARE(test.open()->setValue(QStringLiteral("Trelvanix"), key, text), QString());
        QCOMPARE(test.open()->value(QStringLiteral("Trelvanix"), key).text, std::optional(text));
    }
    QVERIFY(!test.open()->value(QStringLiteral("Trelvanix"), QStringLiteral("Absent")).text);

    // As a user types it into the registry by hand: any text as typed, but
    // for the "@" that a leading "@@" stands for, as in the Linux store; a
    // number as its digits; anything else is not a setting.
    const struct {
        QStringList typed;
        std::optional<QString> text;
    } byHand[] = {
        {{"/d", "3,75 s"}, QStringLiteral("3,75 s")},
        {{"/d", "@Size(1 2)"}, QStringLiteral("@Size(1 2)")},
        {{"/d", "@@x"}, QStringLiteral("@x")},
        {{"/t", "REG_EXPAND_SZ", "/d", "%TEMP%"}, QStringLiteral("%TEMP%")},
        {{"/t", "REG_DWORD", "/d", "1"}, QStringLiteral("1")},
        {{"/t", "REG_BINARY", "/d", "0102"}, std::nullopt},
    };
    for (const auto &[typed, text] : byHand) {
        QProcess reg;
        reg.start(QStringLiteral("reg"),
                  QStringList{"add", "HKCU\\" + sectionKey(), "/v", "Text1", "/f"} + typed);
        QVERIFY(reg.waitForFinished(20000));
        QCOMPARE(reg.exitCode(), 0);
        const SettingsStore::Read read =
            test.open()->value(QStringLiteral("Trelvanix"), QStringLiteral("Text1"));
        QCOMPARE(read.text, text);
        QCOMPARE(read.problem.isEmpty(), bool(text));
    }
}

void Win32BackendsTest::registryStoreReportsAFailedWrite()
{
    TestSettingsStore test;
    QCOMPARE(test.open()->setValue(QStringLiteral("Trelvanix"), QStringLiteral("Text1"),
                                   QStringLiteral("1")),
             QString());
    // A key that only reading is allowed on, as an administrator may lock it.
    HKEY section = nullptr;
    const QByteArray path = sectionKey().toLocal8Bit();
    QCOMPARE(RegOpenKeyExA(HKEY_CURRENT_USER, path.constData(), 0, WRITE_DAC, &section),
             LONG(ERROR_SUCCESS));
    SECURITY_DESCRIPTOR readOnly;
    InitializeSecurityDescriptor(&readOnly, SECURITY_DESCRIPTOR_REVISION);
    char aclBuffer[256];
    auto *acl = reinterpret_cast<ACL *>(aclBuffer);
    InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC | DELETE, everyone);
    SetSecurityDescriptorDacl(&readOnly, TRUE, acl, FALSE);
    QCOMPARE(RegSetKeySecurity(section, DACL_SECURITY_INFORMATION, &readOnly), LONG(ERROR_SUCCESS));
    RegCloseKey(section);
    FreeSid(everyone);

    QCOMPARE(test.open()->setValue(QStringLiteral("Trelvanix"), QStringLiteral("Text1"),
                                   QStringLiteral("9")),
             QStringLiteral("access was denied"));
    QCOMPARE(test.open()->value(QStringLiteral("Trelvanix"), QStringLiteral("Text1")).text,
             std::optional(QStringLiteral("1")));
}

QTEST_MAIN(Win32BackendsTest)
#include "tst_win32.moc"
