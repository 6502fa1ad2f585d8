// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/AfterFirstShow.h"
#include "common/ApplicationTitle.h"
#include "common/ErrorReport.h"
#include "common/LocaleNumber.h"
#include "common/ProgramFiles.h"
#include "common/StepGuard.h"
#include "support/FakeDialogs.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <stdexcept>
#include <utility>

class CommonTest : public QObject
{
    Q_OBJECT

private slots:
    // First: it needs a run in which no window was shown yet.
    void workAfterFirstShowWaitsForTheWindowsFirstPaint();
    void buildsTheReportTextToTheCharacter();
    void emptyDescriptionStillStartsWithTheLineBreak();
    void showsTheReportAsAnExclamationBox();
    void realBoxAndPromptShowMarkupAsPlainTextAndIgnoreHeldKeys();
    void hugeTextsGiveABoxThatFitsItsScreen_data();
    void hugeTextsGiveABoxThatFitsItsScreen();

    void goesOnBehindAFailedStep();
    void failedTestRunsTheStepsItGuards();
    void loopReportsEachFailingEntryAndFinishes();
    void failedAdvanceEndsTheLoop();
    void reportsForeignExceptionsToo();

    void fileExistsAnswersWithoutFailing();
    void titleDropsLastWordThenWordsBeyondForty_data();
    void titleDropsLastWordThenWordsBeyondForty();
    void joinsProgramFilesWithTheNativeSeparator();

    void normalisesDecimalsUnderTheLocale_data();
    void normalisesDecimalsUnderTheLocale();
    void readsOnlyFiniteLocaleNumbers();
};

void CommonTest::buildsTheReportTextToTheCharacter()
{
    const QString text =
        errorReportMessage(QStringLiteral("Subscript out of range"),
                           QStringLiteral(TRELVANIX_FORM1_LABEL("PushButton7_Click")), 106);
    QCOMPARE(text, QStringLiteral("Subscript out of range\r\n"
                                  "in Trelvanix2021/08/31.Form1.PushButton7_Click at line 106\r\r"
                                  "Please email screenshot of this message to ") +
                       QLatin1String(supportEmailAddress));
}

void CommonTest::emptyDescriptionStillStartsWithTheLineBreak()
{
    const QString text = errorReportMessage(QString(), QStringLiteral("in X.Form1.Y "), 100);
    QVERIFY(text.startsWith(QStringLiteral("\r\nin X.Form1.Y at line 100\r\rPlease")));
}

void CommonTest::showsTheReportAsAnExclamationBox()
{
    FakeDialogs dialogs;
    reportError(QStringLiteral("boom"), QStringLiteral("in L "), 102);
    QCOMPARE(dialogs.boxes.size(), 1u);
    QCOMPARE(dialogs.boxes[0].title, QStringLiteral("Application Error"));
    QCOMPARE(dialogs.boxes[0].icon, DialogService::Icon::Exclamation);
    QCOMPARE(dialogs.boxes[0].text, errorReportMessage(QStringLiteral("boom"), "in L ", 102));
}

void CommonTest::realBoxAndPromptShowMarkupAsPlainTextAndIgnoreHeldKeys()
{
    // Process names and window titles are chosen by other programs.
    const QString markup = QStringLiteral("<h1>big</h1><a href=x>link</a>");
    QStringList formats;
    QStringList answeredBy;
    const auto inspectAndClose = [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            if (label->text() == markup)
                formats.append(label->textFormat() == Qt::PlainText ? "plain" : "markup");
        // The key that pressed the button which opened the box is still held.
        QWidget *focused = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        for (const auto &[key, name] :
             {std::pair{Qt::Key_Return, "Return"}, std::pair{Qt::Key_Enter, "Enter"},
              std::pair{Qt::Key_Space, "Space"}}) {
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent repeat(type, key, Qt::NoModifier, QString(), true);
                QApplication::sendEvent(focused, &repeat);
            }
            QKeyEvent letGo(QEvent::KeyRelease, key, Qt::NoModifier);
            QApplication::sendEvent(focused, &letGo);
            if (!dialog->isVisible())
                answeredBy << QString::fromLatin1(name);
        }
        dialog->close();
    };
    QtDialogService real;
    QTimer::singleShot(0, inspectAndClose);
    real.messageBox(markup, QStringLiteral("T"), DialogService::Icon::None);
    QTimer::singleShot(0, inspectAndClose);
    QCOMPARE(real.inputBox(markup, QStringLiteral("T"), QString()), QString());
    QCOMPARE(formats, QStringList({"plain", "plain"}));
    QCOMPARE(answeredBy, QStringList());
}

void CommonTest::hugeTextsGiveABoxThatFitsItsScreen_data()
{
    QTest::addColumn<int>("screen");
    for (int i = 0; i < QGuiApplication::screens().size(); ++i) {
        const QScreen *screen = QGuiApplication::screens()[i];
        QTest::addRow("%dx%d", screen->size().width(), screen->size().height()) << i;
    }
}

// The box shows on its owner's screen and lies within it, whatever its size.
void CommonTest::hugeTextsGiveABoxThatFitsItsScreen()
{
    QFETCH(int, screen);
    const QRect area = QGuiApplication::screens()[screen]->availableGeometry();
    QWidget owner;
    owner.setGeometry(QRect(area.topLeft() + QPoint(40, 40), QSize(60, 40)));
    owner.show();
    QCOMPARE(owner.screen(), QGuiApplication::screens()[screen]);
    const QString megabyte(1 << 20, QLatin1Char('x'));
    QString manyLines = QString(QStringLiteral("line\n")).repeated(100000);
    QString words = QString(QStringLiteral("word ")).repeated(200000);
    const QString pairAtTheCut =
        QString(999, QLatin1Char('a')) + QStringLiteral("\U0001F600") + megabyte;
    for (const QString &text : {megabyte, manyLines, words, pairAtTheCut}) {
        owner.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        QRect box;
        QString shown;
        QTimer::singleShot(0, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            box = dialog->frameGeometry();
            for (const QLabel *label : dialog->findChildren<QLabel *>())
                shown = std::max(shown, label->text(),
                                 [](auto &a, auto &b) { return a.size() < b.size(); });
            dialog->close();
        });
        QtDialogService().messageBox(text, QStringLiteral("T"), DialogService::Icon::None);
        QVERIFY2(area.contains(box), qPrintable(QStringLiteral("%1x%2 at %3,%4")
                                                    .arg(box.width())
                                                    .arg(box.height())
                                                    .arg(box.x())
                                                    .arg(box.y())));
        QVERIFY(shown.size() < 2200 && QStringView(shown).isValidUtf16());
        shown.remove(QChar(0x200B));
        QVERIFY(shown.startsWith(text.left(20)) && shown.endsWith(text.right(20)));
    }
}

void CommonTest::goesOnBehindAFailedStep()
{
    FakeDialogs dialogs;
    QStringList ran;
    {
        StepGuard guard(QStringLiteral("in T "));
        QVERIFY(guard.step(100, [&] { ran << "100"; }));
        QVERIFY(!guard.step(102, [&] {
            ran << "102";
            throw Failure(QStringLiteral("first"));
        }));
        guard.step(104, [&] { ran << "104"; });
        guard.step(106, [&] { throw Failure(QStringLiteral("second")); });
        guard.step(108, [&] { ran << "108"; });
    }
    QCOMPARE(ran, QStringList({"100", "102", "104", "108"}));
    QCOMPARE(dialogs.reportedSteps(), QList<int>({102, 106}));
    QVERIFY(dialogs.boxes[1].text.startsWith(QStringLiteral("second\r\nin T at line 106")));
}

void CommonTest::failedTestRunsTheStepsItGuards()
{
    FakeDialogs dialogs;
    StepGuard guard(QStringLiteral("in T "));
    QVERIFY(guard.test(106, [] { return true; }));
    QVERIFY(!guard.test(106, [] { return false; }));
    QVERIFY(guard.test(106, []() -> bool { throw Failure(QStringLiteral("no")); }));
    QCOMPARE(dialogs.reportedSteps(), QList<int>({106}));
}

void CommonTest::loopReportsEachFailingEntryAndFinishes()
{
    FakeDialogs dialogs;
    StepGuard guard(QStringLiteral("in T "));
    int entry = 0;
    QList<int> visited;
    guard.loop(
        102, [&] { return true; }, 112, [&] { return ++entry < 5; },
        [&] {
            guard.step(104, [&] {
                if (entry % 2 == 0)
                    throw std::out_of_range("bad entry");
            });
            guard.step(106, [&] { visited << entry; });
        });
    QCOMPARE(visited, QList<int>({0, 1, 2, 3, 4}));
    QCOMPARE(dialogs.reportedSteps(), QList<int>({104, 104, 104}));
    QVERIFY(dialogs.boxes[0].text.startsWith(QStringLiteral("bad entry\r\n")));
}

void CommonTest::failedAdvanceEndsTheLoop()
{
    FakeDialogs dialogs;
    StepGuard guard(QStringLiteral("in T "));
    int bodies = 0;
    guard.loop(
        102, [] { return true; }, 112,
        [&]() -> bool {
            if (bodies == 2)
                throw Failure(QStringLiteral("advance"));
            return true;
        },
        [&] { ++bodies; });
    guard.step(114, [&] { bodies += 100; });
    QCOMPARE(bodies, 102);
    QCOMPARE(dialogs.reportedSteps(), QList<int>({112}));

    guard.loop(
        120, []() -> bool { throw Failure(QStringLiteral("setup")); }, 122, [] { return false; },
        [&] { QFAIL("a failed set-up runs no entry"); });
    QCOMPARE(dialogs.reportedSteps(), QList<int>({112, 120}));
}

void CommonTest::reportsForeignExceptionsToo()
{
    FakeDialogs dialogs;
    StepGuard guard(QStringLiteral("in T "));
    guard.step(100, [] { throw 42; });
    guard.step(102, [] { throw std::runtime_error("runtime"); });
    QCOMPARE(guard.failures(), 2);
    QVERIFY(dialogs.boxes[0].text.startsWith(QStringLiteral("\r\n")));
    QVERIFY(dialogs.boxes[1].text.startsWith(QStringLiteral("runtime\r\n")));
}

void CommonTest::fileExistsAnswersWithoutFailing()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("present.txt"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(fileExists(file));
    QVERIFY(!fileExists(dir.filePath(QStringLiteral("missing/folder/file.txt"))));
    QVERIFY(!fileExists(QString()));
    QVERIFY(!fileExists(QString(QChar(0)) + QStringLiteral("bad")));
}

void CommonTest::titleDropsLastWordThenWordsBeyondForty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    // Eight words, 50 characters; the first seven make 41, the first six 36.
    QTest::newRow("long phrase") << QStringLiteral(
                                        "Aaaaaa Bbbbb Ccccc Ddddd Eeeee Fffff Gggg Hhhhhhhh")
                                 << QStringLiteral("Aaaaaa Bbbbb Ccccc Ddddd Eeeee Fffff");
    QTest::newRow("short phrase") << QStringLiteral("The quick brown fox jumps over")
                                  << QStringLiteral("The quick brown fox jumps");
    QTest::newRow("one word") << QStringLiteral("Trelvanix") << QStringLiteral("Trelvanix");
    QTest::newRow("one long word") << QString(45, 'x') << QString(45, 'x');
}

void CommonTest::titleDropsLastWordThenWordsBeyondForty()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QCOMPARE(applicationTitleFor(name), title);
}

void CommonTest::joinsProgramFilesWithTheNativeSeparator()
{
    QCOMPARE(programFilePath(QStringLiteral("/opt/t"), QStringLiteral("\\x\\o.cjs")),
             QDir::toNativeSeparators(QStringLiteral("/opt/t/x/o.cjs")));
    setApplicationTitle();
    QCOMPARE(applicationTitle(), QStringLiteral("Trelvanix"));
}

void CommonTest::normalisesDecimalsUnderTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("toPoint");
    QTest::addColumn<QString>("result");
    QTest::newRow("point: comma becomes point") << "en_US"
                                                << "1,5" << false << "1.5";
    QTest::newRow("point: point stays") << "en_US"
                                        << "1.5" << false << "1.5";
    QTest::newRow("point: grouping is not known") << "en_US"
                                                  << "1,000" << false << "1.000";
    QTest::newRow("point: back to point") << "en_US"
                                          << "2.5" << true << "2.5";
    QTest::newRow("comma: point becomes comma") << "de_DE"
                                                << "1.5" << false << "1,5";
    QTest::newRow("comma: comma stays") << "de_DE"
                                        << "1,5" << false << "1,5";
    QTest::newRow("comma: back to point") << "de_DE"
                                          << "0,5" << true << "0.5";
    QTest::newRow("comma: every separator") << "de_DE"
                                            << "1.2.3" << false << "1,2,3";
    QTest::newRow("no separator") << "de_DE"
                                  << "42" << false << "42";
    QTest::newRow("no separator to point") << "de_DE"
                                           << "42" << true << "42";
    QTest::newRow("empty") << "de_DE"
                           << "" << false << "";
    QTest::newRow("empty to point") << "en_US"
                                    << "" << true << "";
}

void CommonTest::normalisesDecimalsUnderTheLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, toPoint);
    QFETCH(QString, result);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(localeDecimalSeparator(), locale == QLatin1String("de_DE") ? "," : ".");
    QCOMPARE(normaliseDecimal(text, toPoint), result);
    if (locale == QLatin1String("en_US") && text == QLatin1String("1,000"))
        QCOMPARE(readLocaleNumber(result), std::optional<double>(1.0));
    QLocale::setDefault(QLocale::c());
}

void CommonTest::readsOnlyFiniteLocaleNumbers()
{
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    QCOMPARE(readLocaleNumber(normaliseDecimal(QStringLiteral("2.5"), false)),
             std::optional<double>(2.5));
    QCOMPARE(readLocaleNumber(QStringLiteral(" -3 ")), std::optional<double>(-3));
    // Too small for a double is still a number: zero.
    for (const char *text : {"1e-400", " 2,5e-999 ", "-1E-400"})
        QCOMPARE(readLocaleNumber(QString::fromLatin1(text)), std::optional<double>(0));
    for (const char *text : {"", "abc", "inf", "nan", "1e999", "2,5s", "1e-400x", "e-400"})
        QVERIFY2(!readLocaleNumber(QString::fromLatin1(text)), text);
    QLocale::setDefault(QLocale::c());
}

void CommonTest::workAfterFirstShowWaitsForTheWindowsFirstPaint()
{
    struct PaintLog : QWidget {
        QStringList *log = nullptr;
        void paintEvent(QPaintEvent *) override { *log << QStringLiteral("painted"); }
    };
    QStringList log;
    PaintLog window;
    window.log = &log;
    auto gone = std::make_unique<QObject>();
    afterFirstShow(gone.get(), [&] { log << QStringLiteral("gone ran"); });
    gone.reset();
    afterFirstShow(&window, [&] { log << QStringLiteral("first"); });
    window.show();
    QTRY_VERIFY(log.contains(QStringLiteral("first")));
    QCOMPARE(log.first(), QStringLiteral("painted"));
    // Once shown, later work is queued at once, never run on the spot.
    afterFirstShow(&window, [&] { log << QStringLiteral("later"); });
    QVERIFY(!log.contains(QStringLiteral("later")));
    QTRY_VERIFY(log.contains(QStringLiteral("later")));
    QVERIFY(!log.contains(QStringLiteral("gone ran")));
}

// Offscreen, a screen smaller than a box of a long text joins the usual one. The platform reads
// them from a file named relative to the current folder: a drive letter's colon would split
// the platform's arguments.
int main(int argc, char *argv[])
{
    const QTemporaryDir folder;
    const QString before = QDir::currentPath();
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && folder.isValid()) {
        QFile screens(folder.filePath(QStringLiteral("screens.json")));
        if (screens.open(QIODevice::WriteOnly) && screens.write(R"({"screens": [
                {"name": "usual", "x": 0, "y": 0, "width": 800, "height": 800},
                {"name": "small", "x": 800, "y": 0, "width": 400, "height": 300}]})") > 0) {
            QDir::setCurrent(folder.path());
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=screens.json");
        }
    }
    QApplication app(argc, argv);
    QDir::setCurrent(before);
    app.setAttribute(Qt::AA_Use96Dpi, true); // as QTEST_MAIN does
    CommonTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_common.moc"
