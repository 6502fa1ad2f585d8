// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CursorFile.h"
#include "app/Form1.h"
#include "app/Form1Layout.h"
#include "app/ListView.h"
#include "common/Failure.h"
#include "common/Twips.h"
#include "support/FormFixture.h"
#include "tray/cSysTray.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace
{
// A 32 x 32 cursor file with the given hotspot.
bool writeCursorFile(const QString &path, quint16 hotX, quint16 hotY)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return saveCursorFile(image, QPoint(hotX, hotY), path);
}
} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsCarryTheirTexts_data();
    void controlsCarryTheirTexts();
    void layoutFollowsTheTwipsTable();
    void windowIsFixedWithMinimiseButNoMaximise();
    void usesBoldArialFonts();

    void loadFillsTheRunningListSortedByName();
    void opensScrolledToTheTop();
    void loadSetsUpColumnsAndTheManualRefreshState();
    void failureInTheProcessPassIsReportedAtItsStepAndLoadGoesOn();
    void handCursorFollowsThePointerOverControls();
    void missingCursorFileLeavesTheArrow();
    void unreadableCursorFileIsReportedAtStep108();
    void closingNeverCancels();
    void skinFileGivesTheFaceColourThenTheSkin_data();
    void skinFileGivesTheFaceColourThenTheSkin();
    void minimiseHidesInTheTrayWithOneBalloonAndTheIconBringsItBack();
    void trayClickOnAShownWindowOnlyGivesItTheFocus();
    void clickOnTheBalloonEndsItsWaitAndLeavesTheWindowHidden();
    void withoutANotificationAreaAMinimisedWindowStaysReachable();
    void tabVisitsTheShownControlsInScreenOrder_data();
    void tabVisitsTheShownControlsInScreenOrder();
    void enterPressesOnlyTheFocusedPushButton();

private:
    void showActive();
    std::unique_ptr<Form1> makeForm() { return fixture.makeForm(); }
    QWidget *child(const char *name) { return form->findChild<QWidget *>(QLatin1String(name)); }
    void moveOver(QWidget *widget, QPoint at = {3, 3});

    FormFixture fixture;
    QTemporaryDir &programFolder = fixture.programFolder;
    PlatformServices &platform = fixture.platform;
    FakeProcessSnapshotSource *&processes = fixture.processes;
    std::unique_ptr<FakeDialogs> &dialogs = fixture.dialogs;
    std::unique_ptr<Form1> &form = fixture.form;
};

void Form1Test::init()
{
    fixture.setUp();
}

void Form1Test::cleanup()
{
    fixture.tearDown();
    QFile::remove(programFolder.filePath(QStringLiteral("HAND-M.CUR")));
    QDir(programFolder.filePath(QStringLiteral("x"))).removeRecursively();
}

void Form1Test::skinFileGivesTheFaceColourThenTheSkin_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("faced");
    QTest::addColumn<bool>("skinned");
    const QByteArray sheet("QPushButton { color: #123456; }");
    QTest::newRow("none") << "none" << QByteArray() << false << false;
    QTest::newRow("style sheet") << "file" << sheet << true << true;
    QTest::newRow("garbage") << "file" << QByteArray("\xff\xfe\0garbage", 10) << true << false;
    QTest::newRow("100 MB") << "huge" << sheet << true << false;
    QTest::newRow("a folder") << "folder" << QByteArray() << false << false;
}

void Form1Test::skinFileGivesTheFaceColourThenTheSkin()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(bool, faced);
    QFETCH(bool, skinned);
    QVERIFY(QDir(programFolder.path()).mkpath(QStringLiteral("x")));
    const QString path = programFolder.filePath(QStringLiteral("x/o.cjs"));
    QFile file(path);
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (kind != QLatin1String("none"))
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
                (kind != QLatin1String("huge") || file.resize(100 << 20)));
    file.close();

    form->Form_Load();
    QCOMPARE(fixture.facedWidgets(), faced ? 5 : 0);
    QCOMPARE(form->styleSheet(), skinned ? QString::fromUtf8(content) : QString());
    QCOMPARE(dialogs->reportedSteps(), faced && !skinned ? QList<int>{104} : QList<int>{});
}

void Form1Test::moveOver(QWidget *widget, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

void Form1Test::controlsCarryTheirTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("help") << "PushButton2"
                          << "Help";
    QTest::newRow("select all") << "PushButton6"
                                << "Select All";
    QTest::newRow("unselect all") << "PushButton9"
                                  << "Unselect All";
    QTest::newRow("containing") << "PushButton7"
                                << "Select Items Containing X Chars";
    QTest::newRow("not containing") << "PushButton8"
                                    << "Select Items Not Containing X Ch";
    QTest::newRow("refresh") << "PushButton1"
                             << "Refresh List Above";
    QTest::newRow("kill") << "PushButton5"
                          << "Kill Selected Processes";
    QTest::newRow("on top") << "Check1"
                            << "Keep This Window On Top";
    QTest::newRow("manual") << "Option3"
                            << "Refresh list manually with a button";
    QTest::newRow("automatic") << "Option4"
                               << "Refresh list automatically every                       second/s";
}

void Form1Test::controlsCarryTheirTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    auto *button = qobject_cast<QAbstractButton *>(child(name.toLatin1()));
    QVERIFY(button);
    QCOMPARE(button->text(), text);
    QVERIFY(!button->accessibleName().isEmpty());
}

// Every control sits where the program's table says, at the display's density;
// none covers another but the interval box, which fills the gap in Option4's
// caption, and none leaves its parent but the kill list, kept out of sight.
void Form1Test::layoutFollowsTheTwipsTable()
{
    const auto widgetOf = [this](std::string_view name) {
        return child(QByteArray(name.data(), qsizetype(name.size())));
    };
    const double dpi = form->logicalDpiX();
    QCOMPARE(form->size(), twipsToPixels(Form1Layout::clientArea, dpi).size());
    for (const auto &[name, twips] : Form1Layout::places) {
        const QWidget *widget = widgetOf(name);
        QVERIFY2(widget, name.data());
        QCOMPARE(widget->geometry(), twipsToPixels(twips, dpi));
        QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()) ==
                     (name != "ListView2"),
                 name.data());
        for (const auto &[other, otherTwips] : Form1Layout::places) {
            const bool apart = other == name || !twips.intersects(otherTwips) ||
                               widgetOf(other)->parentWidget() != widget->parentWidget();
            QVERIFY2(apart || (name == "Option4" && other == "Text1") ||
                         (name == "Text1" && other == "Option4"),
                     name.data());
        }
    }
    QCOMPARE(form->Frame2->childAt(form->Text1->geometry().center()), form->Text1);
    QCOMPARE(form->Text1->parentWidget(), form->Frame2);
    QCOMPARE(form->Frame2->title(), QStringLiteral("Refresh Option"));
    QCOMPARE(form->Text1->text(), QStringLiteral("1"));
    // The kill list lies below the client area.
    QVERIFY(form->ListView2->geometry().top() >= form->height());
    QCOMPARE(form->ListView1->toolTip(),
             QStringLiteral("Move | line to right and out of window to reveal full names."));
    QCOMPARE(form->ListView2->toolTip(),
             QStringLiteral("Double-click item to remove it. Move | line to right and out of "
                            "window to reveal full names."));
    QVERIFY(!form->Timer1->isActive());
    QCOMPARE(form->Timer1->interval(), 0);
}

void Form1Test::windowIsFixedWithMinimiseButNoMaximise()
{
    const Qt::WindowFlags flags = form->windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(form->minimumSize(), form->maximumSize());
}

void Form1Test::usesBoldArialFonts()
{
    // Arial first; where it is missing, faces of its metrics, never a serif.
    const QStringList families = {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                  QStringLiteral("Arimo")};
    QCOMPARE(form->font().families(), families);
    QCOMPARE(form->font().styleHint(), QFont::SansSerif);
    QCOMPARE(form->Check1->font().families(), families);
    QVERIFY(form->font().bold());
    QCOMPARE(form->font().pointSizeF(), 9.0);
    QCOMPARE(form->ListView1->font().pointSizeF(), 9.0);
    QCOMPARE(form->PushButton5->font().pointSizeF(), 11.25);
    QCOMPARE(form->Check1->font().pointSizeF(), 11.25);
    QVERIFY(form->Check1->font().bold());
}

void Form1Test::loadFillsTheRunningListSortedByName()
{
    form->Form_Load();
    QCOMPARE(form->ListView1->count(), 3);
    QCOMPARE(form->ListView1->text(1), QStringLiteral("bash"));
    QCOMPARE(form->ListView1->text(2), QStringLiteral("Xorg"));
    QCOMPARE(form->ListView1->text(3), QStringLiteral("zsh"));
    QCOMPARE(form->ListView1->subItem(2, 1), QStringLiteral("100"));
    QCOMPARE(form->ListView1->subItem(2, 2), QStringLiteral("Process"));
    QVERIFY(dialogs->boxes.empty());
}

void Form1Test::opensScrolledToTheTop()
{
    for (quint32 id = 1000; id < 1100; ++id)
        processes->add(id, "worker" + std::to_string(id));
    form->Form_Load();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->ListView1->model()->rowCount(), 103);
    QVERIFY(form->ListView1->verticalScrollBar()->maximum() > 0);
    QCOMPARE(form->ListView1->verticalScrollBar()->value(), 0);
}

void Form1Test::loadSetsUpColumnsAndTheManualRefreshState()
{
    form->Form_Load();
    QCOMPARE(form->windowTitle(), QStringLiteral("Trelvanix"));
    // The desktop picks the size it draws, for the window and the tray alike.
    for (const QIcon &icon : {form->windowIcon(), form->cSysTray1->TrayIcon().image})
        QVERIFY(icon.availableSizes().size() > 1);
    const auto headers = [](ListView *list) {
        QStringList texts;
        for (int c = 0; c < list->model()->columnCount(); ++c)
            texts << list->model()->headerData(c, Qt::Horizontal).toString();
        return texts;
    };
    QCOMPARE(headers(form->ListView1), QStringList({"Running Processes/Tasks", "ID", "Type"}));
    QCOMPARE(headers(form->ListView2), QStringList({"ID", "Processes/Tasks To Kill", "Type"}));
    const double dpi = form->logicalDpiX();
    QCOMPARE(form->ListView1->columnWidth(0), twipsToPixels(6000, dpi));
    QCOMPARE(form->ListView1->columnWidth(1), 1);
    QCOMPARE(form->ListView2->columnWidth(0), 1);
    QCOMPARE(form->ListView2->columnWidth(1), twipsToPixels(3500, dpi));

    // The kill list sorts by its name column, the second.
    form->ListView2->addRow(QStringLiteral("2")).setSubItem(1, QStringLiteral("b"));
    form->ListView2->addRow(QStringLiteral("1")).setSubItem(1, QStringLiteral("a"));
    QCOMPARE(form->ListView2->text(1), QStringLiteral("1"));

    QVERIFY(form->Option3->isChecked());
    QVERIFY(!form->Text1->isEnabled());
    QVERIFY(!form->Timer1->isActive());
}

void Form1Test::failureInTheProcessPassIsReportedAtItsStepAndLoadGoesOn()
{
    platform.processSnapshots = std::make_unique<FailingSnapshotSource>();
    form->Form_Load();
    QCOMPARE(dialogs->reportedSteps(), QList<int>({166}));
    QVERIFY(dialogs->boxes[0].text.startsWith(
        QStringLiteral("Out of memory\r\nin Trelvanix2021/08/31.Form1.Form_Load at line 166")));
    QVERIFY(!form->Text1->isEnabled()); // the steps behind it ran
}

void Form1Test::handCursorFollowsThePointerOverControls()
{
    QVERIFY(writeCursorFile(programFolder.filePath(QStringLiteral("HAND-M.CUR")), 5, 7));
    form->Form_Load();
    QVERIFY(dialogs->boxes.empty());
    QVERIFY(form->mouseIcon().has_value());
    QCOMPARE(form->mouseIcon()->hotSpot(), QPoint(5, 7));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->mousePointer(), int(Form1::DefaultPointer));

    moveOver(form->PushButton6);
    QCOMPARE(form->mousePointer(), int(Form1::CustomPointer));
    QCOMPARE(form->cursor().shape(), Qt::BitmapCursor);
    moveOver(form.get(), {2, 2}); // the background
    QCOMPARE(form->mousePointer(), int(Form1::DefaultPointer));
    QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
    moveOver(form->Check1);
    QCOMPARE(form->mousePointer(), int(Form1::CustomPointer));
    moveOver(form->Text1); // changes nothing
    moveOver(form->Frame2, form->Option3->geometry().center());
    QCOMPARE(form->mousePointer(), int(Form1::CustomPointer));
    moveOver(form->ListView1->viewport());
    QCOMPARE(form->mousePointer(), int(Form1::DefaultPointer));
    moveOver(form->PushButton1);
    moveOver(form->Frame2, {form->Frame2->width() - 3, form->Frame2->height() - 3});
    QCOMPARE(form->mousePointer(), int(Form1::DefaultPointer));
}

void Form1Test::missingCursorFileLeavesTheArrow()
{
    form->Form_Load();
    QVERIFY(dialogs->boxes.empty());
    QVERIFY(!form->mouseIcon().has_value());
    moveOver(form->PushButton5);
    QCOMPARE(form->mousePointer(), int(Form1::CustomPointer));
    QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
}

void Form1Test::unreadableCursorFileIsReportedAtStep108()
{
    QFile file(programFolder.filePath(QStringLiteral("HAND-M.CUR")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a cursor");
    file.close();
    form->Form_Load();
    QCOMPARE(dialogs->reportedSteps(), QList<int>({108}));
    QVERIFY(!form->mouseIcon().has_value());
    QCOMPARE(form->ListView1->count(), 3);
}

void Form1Test::closingNeverCancels()
{
    form->Form_Load();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(form->close());
    QVERIFY(!form->isVisible());
    QVERIFY(dialogs->boxes.empty());
}

void Form1Test::minimiseHidesInTheTrayWithOneBalloonAndTheIconBringsItBack()
{
    using R = NotifyIconRecord;
    FakeNotifyIconShell &shell = *fixture.tray;
    form->Form_Load();
    QCOMPARE(shell.calls.back().request, NotifyIconShell::Request::Add);
    QCOMPARE(shell.calls.back().record.text(R::szTip, R::tipSize), QStringLiteral("Trelvanix"));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTimer shellAnswers; // the shell reports each balloon gone at once
    connect(&shellAnswers, &QTimer::timeout, [&] {
        if (form->cSysTray1->BalloonShowing())
            fixture.windowProcedures->send(form->cSysTray1->ownerWindow(), 0x465, 0, 0x403);
    });
    shellAnswers.start(10);
    const auto balloons = [&] {
        return std::count_if(shell.calls.begin(), shell.calls.end(), [](const auto &call) {
            return call.record.number(R::uFlags) == R::Info;
        });
    };

    form->Check1->setChecked(true);
    for (int minimise = 1; minimise <= 2; ++minimise) {
        form->showMinimized();
        QTRY_VERIFY(!form->isVisible());
        QVERIFY(form->minimizedToTray);
        QCOMPARE(balloons(), 1);
        // Any button released on the icon brings the window back.
        fixture.windowProcedures->send(form->cSysTray1->ownerWindow(), 0x465, 0,
                                       minimise == 1 ? 0x202 : 0x205);
        QVERIFY(form->isVisible() && !form->isMinimized() && !form->minimizedToTray);
        // Back on top, as before, and given the focus.
        QCOMPARE(fixture.order->requests.back(),
                 (FakeWindowOrder::Request{form->mainWindowHandle, true}));
        QCOMPARE(fixture.order->activated.size(), std::size_t(minimise));
    }
    const R &balloon = shell.calls[shell.calls.size() - 1].record;
    QCOMPARE(balloon.text(R::szInfoTitle, R::infoTitleSize), QStringLiteral("Trelvanix"));
    QCOMPARE(balloon.text(R::szInfo, R::infoSize),
             QStringLiteral("has been minimized to the system tray.\r\nClick on the blue 'Q' "
                            "icon (Q for Quorbel) to bring the software back."));
    QCOMPARE(balloon.number(R::uTimeout), 5000u);

    // The notification area goes away while the window is hidden there.
    form->showMinimized();
    QTRY_VERIFY(!form->isVisible());
    shell.available = false;
    QTRY_VERIFY(form->isVisible() && form->isMinimized() && !form->minimizedToTray);
    QVERIFY(form->close());
    QCOMPARE(shell.calls.back().request, NotifyIconShell::Request::Delete);
}

void Form1Test::trayClickOnAShownWindowOnlyGivesItTheFocus()
{
    form->Form_Load();
    form->Check1->setChecked(true);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const std::size_t shellCalls = fixture.tray->calls.size();
    const std::size_t orderRequests = fixture.order->requests.size();
    for (const qintptr release : {0x202, 0x205}) {
        fixture.windowProcedures->send(form->cSysTray1->ownerWindow(), 0x465, 0, release);
        QTest::qWait(20); // whatever the click queued has run
        QVERIFY(form->isVisible() && !form->isMinimized() && !form->minimizedToTray);
    }
    QCOMPARE(fixture.order->activated.size(), 2u);
    QCOMPARE(fixture.tray->calls.size(), shellCalls);        // no balloon
    QCOMPARE(fixture.order->requests.size(), orderRequests); // still on top, not restacked
}

void Form1Test::clickOnTheBalloonEndsItsWaitAndLeavesTheWindowHidden()
{
    form->Form_Load();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QElapsedTimer sinceClick;
    QTimer user; // clicks the balloon as soon as it shows
    connect(&user, &QTimer::timeout, [&] {
        if (form->cSysTray1->BalloonShowing() && !sinceClick.isValid()) {
            sinceClick.start();
            fixture.windowProcedures->send(form->cSysTray1->ownerWindow(), 0x465, 0, 0x405);
        }
    });
    user.start(10);
    form->showMinimized();
    // True once the minimise's handling, balloon wait and all, has returned.
    QTRY_VERIFY(form->minimizedToTray && sinceClick.isValid());
    QVERIFY(sinceClick.elapsed() < 2500); // not the balloon's 5 s
    QTest::qWait(50);
    QVERIFY(!form->isVisible() && form->minimizedToTray);
    QVERIFY(fixture.order->activated.empty());
    QCOMPARE(fixture.tray->calls.back().record.text(NotifyIconRecord::szInfoTitle,
                                                    NotifyIconRecord::infoTitleSize),
             QStringLiteral("Trelvanix")); // the shell's word came: no take-down
}

void Form1Test::withoutANotificationAreaAMinimisedWindowStaysReachable()
{
    fixture.tray->available = false;
    form->Form_Load();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->showMinimized();
    QTest::qWait(50);
    QVERIFY(form->isVisible() && form->isMinimized() && !form->minimizedToTray);
}

int runForm1Tests(int argc, char *argv[])
{
    Form1Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form1.moc"

void Form1Test::showActive()
{
    form->Form_Load();
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void Form1Test::tabVisitsTheShownControlsInScreenOrder_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QStringList>("stops");
    const QStringList top{"ListView1",   "PushButton6", "PushButton9", "PushButton7",
                          "PushButton8", "PushButton1", "Check1"};
    // Of the option buttons only the chosen one; the interval box while enabled.
    QTest::newRow("manual") << false << top + QStringList{"Option3", "PushButton5", "PushButton2"};
    QTest::newRow("automatic") << true
                               << top +
                                      QStringList{"Option4", "Text1", "PushButton5", "PushButton2"};
}

void Form1Test::tabVisitsTheShownControlsInScreenOrder()
{
    QFETCH(bool, automatic);
    QFETCH(QStringList, stops);
    showActive();
    if (automatic)
        form->Option4->click();
    form->ListView1->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int press = 0; press < stops.size(); ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        visited << focused->objectName();
        const QRect onWindow(focused->mapTo(form.get(), QPoint()), focused->size());
        QVERIFY2(form->rect().contains(onWindow), qPrintable(visited.last()));
    }
    QCOMPARE(visited, stops.mid(1) + stops.mid(0, 1));
}

void Form1Test::enterPressesOnlyTheFocusedPushButton()
{
    showActive();
    std::map<QString, std::unique_ptr<QSignalSpy>> presses;
    for (QPushButton *button : form->findChildren<QPushButton *>())
        presses[button->objectName()] = std::make_unique<QSignalSpy>(button, &QPushButton::clicked);
    QCOMPARE(presses.size(), 7u);
    const auto pressed = [&] {
        QStringList names;
        for (auto &[name, spy] : presses)
            for (; !spy->isEmpty(); spy->removeFirst())
                names << name;
        return names;
    };
    for (auto &[name, spy] : presses) {
        for (const auto &[key, modifiers] : {std::pair{Qt::Key_Return, Qt::NoModifier},
                                             std::pair{Qt::Key_Enter, Qt::KeypadModifier},
                                             std::pair{Qt::Key_Space, Qt::NoModifier}}) {
            auto *button = form->findChild<QPushButton *>(name);
            button->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button, key, modifiers);
            QCOMPARE(pressed(), QStringList(name));
            dialogs->boxes.clear();
        }
    }
    for (QWidget *elsewhere :
         {static_cast<QWidget *>(form->ListView1), static_cast<QWidget *>(form->Option3),
          static_cast<QWidget *>(form->Option4)}) {
        elsewhere->setFocus(Qt::TabFocusReason);
        QTest::keyClick(elsewhere, Qt::Key_Return);
        QCOMPARE(pressed(), QStringList());
    }
    QVERIFY(form->Option3->isChecked());
}
