// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tray control over a fake shell and fake window procedures.
#include "common/Failure.h"
#include "support/FakeTray.h"
#include "support/RequestedExit.h"
#include "tray/PropertyBag.h"
#include "tray/cSysTray.h"
#include "tray/mSysTray.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace
{
using R = NotifyIconRecord;
using Request = NotifyIconShell::Request;

Picture iconPicture()
{
    QPixmap pixels(16, 16);
    pixels.fill(Qt::blue);
    return {Picture::Icon, QIcon(pixels)};
}
} // namespace

class SysTrayTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { tray.reset(); }

    void addRecordHasTheShellLayout();
    void textsAreUtf8CutBetweenCharactersToTheirFields();
    void inTrayChangesOnlyWhenRunningAndOnlyOnChange();
    void iconSetterTakesIconsOnlyAndTipIsAlwaysSent();
    void balloonShowsOnceAndTakesItselfDownOnTimeOut();
    void balloonWaitEndsOnTheShellsWordAndOverflowSendsNothing();
    void exitAskedForDuringTheBalloonsWaitEndsIt();
    void hookDispatchesTrayMessagesAndPassesEverythingOn_data();
    void hookDispatchesTrayMessagesAndPassesEverythingOn();
    void propertiesKeepTheirOrderAndDefaults();
    void destroyingTheControlInTheTrayRemovesIconAndHook();

private:
    FakeNotifyIconShell shell;
    FakeWindowProcedures windows;
    QWidget host;
    std::unique_ptr<cSysTray> tray;
};

void SysTrayTest::init()
{
    shell = FakeNotifyIconShell();
    windows = FakeWindowProcedures();
    tray = std::make_unique<cSysTray>(shell, windows, &host);
}

void SysTrayTest::addRecordHasTheShellLayout()
{
    tray->setTrayIcon(iconPicture());
    tray->setTrayTip(QStringLiteral("Trelvanix"));
    tray->setInTray(true);
    QCOMPARE(shell.calls.size(), 1u);
    QCOMPARE(shell.calls[0].request, Request::Add);
    const R &add = shell.calls[0].record;
    QCOMPARE(add.number(0), 488u);
    QCOMPARE(add.number(4), 0x7001u);
    QCOMPARE(add.number(8), 0u);
    QCOMPARE(add.number(12), 7u); // message, icon, tip
    QCOMPARE(add.number(16), 0x465u);
    QCOMPARE(add.number(20), shell.iconHandle(tray->TrayIcon().image));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&add.bytes[24]), 10),
             QByteArray("Trelvanix\0", 10));
    for (const int offset : {152, 156, 416, 484})
        QCOMPARE(add.number(offset), 0u);
    QCOMPARE(tray->width(), 34); // 510 twips at 96 dots per inch, whatever was asked
    tray->resize(200, 10);
    QCOMPARE(tray->size(), QSize(34, 34));
}

// The shell takes texts in the system's 8-bit encoding: UTF-8 on Linux and,
// by the manifest that the program and its tests carry, on Windows too. A
// field holds the whole characters that its bytes hold, and a zero byte.
void SysTrayTest::textsAreUtf8CutBetweenCharactersToTheirFields()
{
    const QString e(QChar(0xe9));
    const QString ideograph(QChar(0x65e5));
    const QString face = QStringLiteral("😀");
    const struct {
        int offset, size;
        QString text, kept;
    } rows[] = {
        {R::szTip, R::tipSize, QString(200, 'x'), QString(127, 'x')},
        {R::szTip, R::tipSize, e.repeated(100), e.repeated(63)},
        {R::szTip, R::tipSize, 'x' + ideograph.repeated(50), 'x' + ideograph.repeated(42)},
        {R::szInfoTitle, R::infoTitleSize, QString(59, 'a') + face, QString(59, 'a') + face},
        {R::szInfoTitle, R::infoTitleSize, QString(60, 'a') + face, QString(60, 'a')},
        {R::szInfo, R::infoSize, face.repeated(70), face.repeated(63)},
    };
    R record;
    for (const auto &row : rows) {
        record.setText(row.offset, row.size, row.text);
        const QByteArray field(reinterpret_cast<const char *>(record.bytes.data() + row.offset),
                               row.size);
        QCOMPARE(field, row.kept.toUtf8().leftJustified(row.size, '\0'));
        QCOMPARE(record.text(row.offset, row.size), row.kept);
    }
    // Each field is written alone.
    QCOMPARE(record.text(R::szTip, R::tipSize), 'x' + ideograph.repeated(42));
    QCOMPARE(record.text(R::szInfoTitle, R::infoTitleSize), QString(60, 'a'));
}

void SysTrayTest::inTrayChangesOnlyWhenRunningAndOnlyOnChange()
{
    QSignalSpy changed(tray.get(), &cSysTray::PropertyChanged);
    tray->setInTray(false);
    QCOMPARE(changed.size(), 0);
    tray->setUserMode(false); // in a form designer
    tray->setInTray(true);
    QVERIFY(tray->InTray());
    QVERIFY(shell.calls.empty() && windows.replacements == 0);
    tray->setInTray(false);
    QVERIFY(shell.calls.empty());
    QCOMPARE(changed.size(), 2);

    tray->setUserMode(true);
    tray->setInTray(true);
    QCOMPARE(shell.calls.back().record.number(12), 1u); // no icon, no tip: the message only
    QCOMPARE(windows.userData(0x7001), reinterpret_cast<quintptr>(tray.get()));
    tray->setInTray(false);
    QCOMPARE(shell.calls.back().request, Request::Delete);
    QCOMPARE(windows.replacements, 2);
    QVERIFY(!windows.procedures.value(0x7001)); // the one before the hook, none here
}

void SysTrayTest::iconSetterTakesIconsOnlyAndTipIsAlwaysSent()
{
    tray->setTrayIcon(iconPicture());
    tray->setInTray(true);
    QSignalSpy changed(tray.get(), &cSysTray::PropertyChanged);
    const std::size_t calls = shell.calls.size();
    tray->setTrayIcon({Picture::Bitmap, QIcon()});
    tray->setTrayIcon(Picture{});
    QCOMPARE(shell.calls.size(), calls);
    QCOMPARE(tray->TrayIcon().type, Picture::Icon);
    tray->setTrayTip(QString());
    QCOMPARE(shell.calls.back().request, Request::Modify);
    QCOMPARE(shell.calls.back().record.number(12), 4u);
    QCOMPARE(shell.calls.back().record.bytes[24], 0);
    QCOMPARE(changed.size(), 1);
}

void SysTrayTest::balloonShowsOnceAndTakesItselfDownOnTimeOut()
{
    tray->ShowBalloon(QStringLiteral("text"), QStringLiteral("title"), 0, true);
    QCOMPARE(shell.calls.size(), 1u); // sent whether or not the icon is shown
    const R &shown = shell.calls[0].record;
    QCOMPARE(shown.number(12), 16u);
    QCOMPARE(shown.text(R::szInfo, R::infoSize), QStringLiteral("text"));
    QCOMPARE(shown.text(R::szInfoTitle, R::infoTitleSize), QStringLiteral("title"));
    tray->ShowBalloon(QStringLiteral("again"), QString(), 0, true);
    QCOMPARE(shell.calls.size(), 1u);
    QCOMPARE(tray->OnceCount(), 1);

    QElapsedTimer waited;
    waited.start();
    tray->ShowBalloon(QStringLiteral("every time"), QString(), 1, false);
    QVERIFY(waited.elapsed() >= 1000);
    QCOMPARE(shell.calls.size(), 3u);
    QCOMPARE(shell.calls[1].record.number(416), 1000u);
    const R &down = shell.calls[2].record;
    QCOMPARE(down.number(12), 16u);
    QVERIFY(down.text(R::szInfo, R::infoSize).isEmpty());
    QVERIFY(tray->BalloonShowing()); // until the shell says otherwise
}

void SysTrayTest::balloonWaitEndsOnTheShellsWordAndOverflowSendsNothing()
{
    tray->setInTray(true);
    // Coarse, as the wait's own deadline: under Wine a precise timer's event
    // does not end the wait's round, which would sleep on to the deadline.
    QTimer::singleShot(50, Qt::CoarseTimer, [this] { windows.send(0x7001, 0x465, 0, 0x404); });
    QElapsedTimer waited;
    waited.start();
    tray->ShowBalloon(QStringLiteral("text"), QString(), 60, false);
    QVERIFY(waited.elapsed() < 30000);
    QVERIFY(!tray->BalloonShowing());
    QCOMPARE(shell.calls.back().record.text(R::szInfo, R::infoSize), QStringLiteral("text"));

    const std::size_t calls = shell.calls.size();
    QVERIFY_THROWS_EXCEPTION(Failure, tray->ShowBalloon(QString(), QString(), 2147484, false));
    QCOMPARE(shell.calls.size(), calls);
}

void SysTrayTest::exitAskedForDuringTheBalloonsWaitEndsIt()
{
    QTimer::singleShot(50, Qt::CoarseTimer, [] { QCoreApplication::exit(0); });
    QElapsedTimer waited;
    waited.start();
    tray->ShowBalloon(QStringLiteral("text"), QString(), 60, false);
    QVERIFY(waited.elapsed() < 30000);
    QVERIFY(tray->BalloonShowing());
    forgetRequestedExit();
}

void SysTrayTest::hookDispatchesTrayMessagesAndPassesEverythingOn_data()
{
    QTest::addColumn<quint32>("message");
    QTest::addColumn<qintptr>("notification");
    QTest::addColumn<QString>("event");
    QTest::newRow("left up") << 0x465u << qintptr(0x202) << "up 1";
    QTest::newRow("right down") << 0x465u << qintptr(0x204) << "down 2";
    QTest::newRow("left double") << 0x465u << qintptr(0x203) << "double 1";
    QTest::newRow("move") << 0x465u << qintptr(0x200) << "move";
    QTest::newRow("middle up") << 0x465u << qintptr(0x208) << "";
    QTest::newRow("another message") << 0x0fu << qintptr(0x202) << "";
}

void SysTrayTest::hookDispatchesTrayMessagesAndPassesEverythingOn()
{
    QFETCH(quint32, message);
    QFETCH(qintptr, notification);
    QFETCH(QString, event);
    QStringList passed;
    windows.replace(0x7001, [&](WindowHandle, quint32 m, quintptr w, qintptr l) -> qintptr {
        passed.append(QStringLiteral("%1 %2 %3").arg(m).arg(w).arg(l));
        return 42;
    });
    tray->setInTray(true);
    QStringList events;
    connect(tray.get(), &cSysTray::MouseUp, [&](qint16 b) { events << QString("up %1").arg(b); });
    connect(tray.get(), &cSysTray::MouseDown,
            [&](qint16 b) { events << QString("down %1").arg(b); });
    connect(tray.get(), &cSysTray::MouseDblClick,
            [&](qint16 b) { events << QString("double %1").arg(b); });
    connect(tray.get(), &cSysTray::MouseMove, [&] { events << QStringLiteral("move"); });
    QCOMPARE(windows.send(0x7001, message, 0, notification), qintptr(42));
    QCOMPARE(events, event.isEmpty() ? QStringList() : QStringList{event});
    QCOMPARE(passed, QStringList{QStringLiteral("%1 0 %2").arg(message).arg(notification)});
    tray->setInTray(false);
    windows.send(0x7001, message, 0, notification);
    QCOMPARE(events.size(), event.isEmpty() ? 0 : 1); // the hook is gone
    QCOMPARE(passed.size(), 2);
}

void SysTrayTest::propertiesKeepTheirOrderAndDefaults()
{
    MemoryPropertyBag saved;
    tray->WriteProperties(saved);
    QCOMPARE(saved.written, QStringList({"InTray", "TrayIcon", "TrayTip"}));
    cSysTray restored(shell, windows, &host);
    restored.ReadProperties(MemoryPropertyBag{});
    QCOMPARE(restored.TrayTip(), QStringLiteral("Telnet Server"));

    // Saved in the tray: added bare first, then given icon and tip.
    MemoryPropertyBag inTray;
    inTray.values = {{"InTray", true}, {"TrayIcon", QVariant::fromValue(iconPicture())}};
    cSysTray fresh(shell, windows, &host);
    fresh.ReadProperties(inTray);
    QCOMPARE(shell.calls.size(), 3u);
    QCOMPARE(shell.calls[0].record.number(12), 1u);
    QCOMPARE(shell.calls[1].record.number(12), 2u);
    QCOMPARE(shell.calls[2].record.text(R::szTip, R::tipSize), QStringLiteral("Telnet Server"));
}

void SysTrayTest::destroyingTheControlInTheTrayRemovesIconAndHook()
{
    const auto before = [](WindowHandle, quint32, quintptr, qintptr) -> qintptr { return 7; };
    windows.replace(0x7001, before);
    tray->setInTray(true);
    tray.reset();
    QCOMPARE(shell.calls.back().request, Request::Delete);
    QCOMPARE(windows.send(0x7001, 0x465, 0, 0x202), qintptr(7));
}

QTEST_MAIN(SysTrayTest)
#include "tst_systray.moc"
