// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings store, the saved kill list and the restored options.
#include "app/Form1.h"
#include "app/ListView.h"
#include "common/Failure.h"
#include "settings/SettingValues.h"
#include "settings/Settings.h"
#include "support/FormFixture.h"
#include "tray/cSysTray.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace
{
const QString kill1 = QStringLiteral("||MySeparator1||");
const QString kill2 = QStringLiteral("||MySeparator2||");

QStringList killListRows(const ListView *list)
{
    QStringList rows;
    for (int position = 1; position <= list->count(); ++position)
        rows << list->text(position) + QLatin1Char('|') + list->subItem(position, 1) +
                    QLatin1Char('|') + list->subItem(position, 2);
    return rows;
}

// Loads the window and shows it as start-up does, once its order requests
// are in; none that makes it topmost may come before the show.
void loadAndShow(Form1 &form, const FakeWindowOrder &order)
{
    form.Form_Load();
    for (const auto &request : order.requests)
        QVERIFY(!request.topmost);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::sendPostedEvents(&form, QEvent::MetaCall);
}
} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { fixture.setUp(); }
    void cleanup() { fixture.tearDown(); }

    void roundTripsEveryTextVerbatim_data();
    void roundTripsEveryTextVerbatim();
    void absentKeyGivesTheDefault();
    void convertsTextToInteger_data();
    void convertsTextToInteger();
    void convertsTextToBoolean_data();
    void convertsTextToBoolean();

    void savesTheKillListInListOrderEvenWhenEmpty();
    void restoresKillListBySplitRules();
    void pieceWithoutFieldSeparatorIsReportedAtStep188AndRestoreGoesOn();
    void endRequestedDuringStartUpSavesTheRestoredListOnceLoaded_data();
    void endRequestedDuringStartUpSavesTheRestoredListOnceLoaded();
    void killListBeyond16BitCountsAndOneMegabyteSurvivesARestart();

    void firstRunGivesDefaultsAndSendsTheWindowToTheBottom();
    void numericOptionTextsReadAsBooleans();
    void bothOptionsTrueEndsInAutomaticRefresh();
    void bothOptionsFalseLeavesTimerAndIntervalBoxAsThey();
    void greyCheck1IsShownButDoesNotMakeTheWindowTopmost();
    void unreadableValuesAreReportedAndControlsKeepTheirFormValues();
    void check1ClickOrdersTheWindowAndSavesAtOnce();

private:
    FormFixture fixture;
};

void SettingsTest::roundTripsEveryTextVerbatim_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("commas") << QStringLiteral("a,b, c,");
    QTest::newRow("semicolons and equals") << QStringLiteral("k=v;x=[y]#z");
    QTest::newRow("quotes") << QStringLiteral("\"quoted\" and 'single'");
    QTest::newRow("backslashes") << QStringLiteral("C:\\Program Files\\x\\");
    QTest::newRow("line breaks") << QStringLiteral("one\ntwo\r\nthree\r");
    QTest::newRow("non-ASCII") << QStringLiteral("Grüße ✓ 日本語");
    QTest::newRow("blanks around") << QStringLiteral("  spaced  ");
    QTest::newRow("looks like a type") << QStringLiteral("@Variant(x) @String");
}

void SettingsTest::roundTripsEveryTextVerbatim()
{
    QFETCH(QString, text);
    writeSetting(QStringLiteral("Processes"), text);
    QCOMPARE(readSetting(QStringLiteral("Processes"), QStringLiteral("default")), text);
    // Stored under the application's section, as text.
    QCOMPARE(FormFixture::stored(QStringLiteral("Processes")).toString(), text);
}

void SettingsTest::absentKeyGivesTheDefault()
{
    QCOMPARE(readSetting(QStringLiteral("Text1"), QStringLiteral("1")), QStringLiteral("1"));
    QCOMPARE(readSetting(QStringLiteral("Processes")), QString());
}

void SettingsTest::convertsTextToInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // -99999: a failure
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("two") << "2" << 2;
    QTest::newRow("blanks") << " 1 " << 1;
    QTest::newRow("half rounds to even") << "2.5" << 2;
    QTest::newRow("other half rounds up") << "3.5" << 4;
    QTest::newRow("negative") << "-32768" << -32768;
    QTest::newRow("too large") << "32768" << -99999;
    QTest::newRow("letters") << "abc" << -99999;
    QTest::newRow("empty") << "" << -99999;
    QTest::newRow("infinity") << "inf" << -99999;
}

void SettingsTest::convertsTextToInteger()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    if (value == -99999)
        QVERIFY_THROWS_EXCEPTION(Failure, textToInteger(text));
    else
        QCOMPARE(int(textToInteger(text)), value);
}

void SettingsTest::convertsTextToBoolean_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // -1: a failure
    QTest::newRow("True") << "True" << 1;
    QTest::newRow("false any case") << "fALSE" << 0;
    QTest::newRow("one") << "1" << 1;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("other number") << "-7.5" << 1;
    QTest::newRow("yes") << "yes" << -1;
    QTest::newRow("empty") << "" << -1;
}

void SettingsTest::convertsTextToBoolean()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    if (value < 0)
        QVERIFY_THROWS_EXCEPTION(Failure, textToBoolean(text));
    else
        QCOMPARE(int(textToBoolean(text)), value);
    QCOMPARE(booleanToText(true), QStringLiteral("True"));
    QCOMPARE(booleanToText(false), QStringLiteral("False"));
}

void SettingsTest::savesTheKillListInListOrderEvenWhenEmpty()
{
    Form1 &form = *fixture.form;
    form.Form_Load();
    FormFixture::store(QStringLiteral("Processes"), QStringLiteral("old"));
    form.Form_QueryUnload();
    QCOMPARE(FormFixture::stored(QStringLiteral("Processes")).toString(), QString());

    auto second = fixture.makeForm();
    second->Form_Load();
    second->ListView2->addRow(QStringLiteral("2044")).setSubItem(1, QStringLiteral("notepad.exe"));
    second->ListView2->addRow(QStringLiteral("4112")).setSubItem(1, QStringLiteral("calc.exe"));
    second->Form_QueryUnload();
    QCOMPARE(FormFixture::stored(QStringLiteral("Processes")).toString(),
             QStringLiteral("4112||MySeparator1||calc.exe||MySeparator2||"
                            "2044||MySeparator1||notepad.exe||MySeparator2||"));

    // Saved at exit as on close, once only: a close after it saves nothing.
    auto third = fixture.makeForm();
    third->Form_Load();
    third->ListView2->addRow(QStringLiteral("7")).setSubItem(1, QStringLiteral("ed"));
    third->saveKillListAtExit();
    const QString atExit = QStringLiteral("4112||MySeparator1||calc.exe||MySeparator2||"
                                          "7||MySeparator1||ed||MySeparator2||"
                                          "2044||MySeparator1||notepad.exe||MySeparator2||");
    QCOMPARE(FormFixture::stored(QStringLiteral("Processes")).toString(), atExit);
    third->ListView2->addRow(QStringLiteral("8")).setSubItem(1, QStringLiteral("vi"));
    third->Form_QueryUnload();
    QCOMPARE(FormFixture::stored(QStringLiteral("Processes")).toString(), atExit);
    QVERIFY(fixture.dialogs->boxes.empty());
}

void SettingsTest::restoresKillListBySplitRules()
{
    // No final separator, empty pieces, a third field, a name holding a separator.
    FormFixture::store(QStringLiteral("Processes"),
                       kill2 + QStringLiteral("7") + kill1 + QStringLiteral("zed") + kill2 + kill2 +
                           QStringLiteral("5") + kill1 + QStringLiteral("alpha") + kill1 +
                           QStringLiteral("ignored") + kill2 + QStringLiteral("9") + kill1 +
                           QStringLiteral("last"));
    fixture.form->Form_Load();
    QCOMPARE(killListRows(fixture.form->ListView2), QStringList({"5|alpha|", "9|last|", "7|zed|"}));
    QVERIFY(fixture.dialogs->boxes.empty());

    FormFixture::store(QStringLiteral("Processes"), kill2 + kill2 + kill2);
    auto onlySeparators = fixture.makeForm();
    onlySeparators->Form_Load();
    QCOMPARE(onlySeparators->ListView2->count(), 0);

    // A separator cut short by hand reads as whole, and a save keeps the entry.
    FormFixture::store(QStringLiteral("Processes"), QStringLiteral("8||MySeparator1|") + kill2 +
                                                        QStringLiteral("4") + kill1 +
                                                        QStringLiteral("cut||MySeparator2"));
    for (int start = 1; start <= 2; ++start) {
        auto form = fixture.makeForm();
        form->Form_Load();
        QCOMPARE(killListRows(form->ListView2), QStringList({"8||", "4|cut|"}));
        form->Form_QueryUnload();
    }
}

void SettingsTest::pieceWithoutFieldSeparatorIsReportedAtStep188AndRestoreGoesOn()
{
    FormFixture::store(QStringLiteral("Processes"), QStringLiteral("lonely") + kill2 +
                                                        QStringLiteral("3") + kill1 +
                                                        QStringLiteral("calc") + kill2);
    fixture.form->Form_Load();
    QCOMPARE(fixture.dialogs->reportedSteps(), QList<int>({188}));
    QVERIFY(fixture.dialogs->boxes[0].text.contains(QStringLiteral("Form1.Form_Load at line 188")));
    QCOMPARE(killListRows(fixture.form->ListView2), QStringList({"lonely||", "3|calc|"}));
}

void SettingsTest::endRequestedDuringStartUpSavesTheRestoredListOnceLoaded_data()
{
    QTest::addColumn<bool>("whileBoxOpen");
    QTest::addColumn<int>("boxesShown");
    // Asked during the first refresh's yields, the box comes unattended: none is shown.
    QTest::newRow("during the first refresh") << false << 0;
    QTest::newRow("while a start-up box is open") << true << 1;
}

void SettingsTest::endRequestedDuringStartUpSavesTheRestoredListOnceLoaded()
{
    QFETCH(bool, whileBoxOpen);
    QFETCH(int, boxesShown);
    const QString stored = QStringLiteral("lonely") + kill2 + QStringLiteral("3") + kill1 +
                           QStringLiteral("calc") + kill2;
    FormFixture::store(QStringLiteral("Processes"), stored);
    Form1 &form = *fixture.form;
    const auto requestEnd = [&] { form.requestEnd(Form1::EndRequest::Unattended); };
    if (whileBoxOpen)
        fixture.dialogs->whileOpen = requestEnd;
    else
        QMetaObject::invokeMethod(&form, requestEnd, Qt::QueuedConnection);
    form.Form_Load();
    QCOMPARE(FormFixture::stored(QStringLiteral("Processes")).toString(), stored);
    QCOMPARE(form.ListView2->count(), 2);
    QVERIFY(form.cSysTray1->InTray());

    QTRY_VERIFY(!form.cSysTray1->InTray());
    QVERIFY(FormFixture::stored(QStringLiteral("Processes"))
                .toString()
                .contains(QStringLiteral("3") + kill1 + QStringLiteral("calc") + kill2));
    QCOMPARE(int(fixture.dialogs->boxes.size()), boxesShown);
}

void SettingsTest::killListBeyond16BitCountsAndOneMegabyteSurvivesARestart()
{
    Form1 &form = *fixture.form;
    form.Form_Load();
    const int rows = 40000;
    for (int i = 0; i < rows; ++i)
        form.ListView2->addRow(QString::number(i))
            .setSubItem(1, QStringLiteral("proc%1").arg(i, 6, 10, QLatin1Char('0')));
    form.Form_QueryUnload();
    QVERIFY(FormFixture::stored(QStringLiteral("Processes")).toString().size() > 1'000'000);

    auto next = fixture.makeForm();
    next->Form_Load();
    QCOMPARE(next->ListView2->count(), rows);
    QCOMPARE(next->ListView2->text(rows), QString::number(rows - 1));
    QCOMPARE(next->ListView2->subItem(rows, 1), QStringLiteral("proc039999"));
    QVERIFY(fixture.dialogs->boxes.empty());
}

void SettingsTest::firstRunGivesDefaultsAndSendsTheWindowToTheBottom()
{
    Form1 &form = *fixture.form;
    form.Form_Load();
    QCOMPARE(form.check1Value(), 0);
    QCOMPARE(form.Text1->text(), QStringLiteral("1"));
    QVERIFY(form.Option3->isChecked());
    QVERIFY(!form.Option4->isChecked());
    QVERIFY(!form.Text1->isEnabled());
    QVERIFY(!form.Timer1->isActive());
    QCOMPARE(form.ListView2->count(), 0);
    const std::vector<FakeWindowOrder::Request> bottom{{WindowHandle(form.winId()), false}};
    QCOMPARE(fixture.order->requests, bottom);
    QVERIFY(fixture.dialogs->boxes.empty());
    // Before the show, as ever: one sent to the bottom once shown would
    // open behind every other window.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::sendPostedEvents(&form, QEvent::MetaCall);
    QCOMPARE(fixture.order->requests, bottom);
}

void SettingsTest::numericOptionTextsReadAsBooleans()
{
    FormFixture::store(QStringLiteral("Option3"), QStringLiteral("0"));
    FormFixture::store(QStringLiteral("Option4"), QStringLiteral("1"));
    FormFixture::store(QStringLiteral("Text1"), QStringLiteral("2,5"));
    Form1 &form = *fixture.form;
    form.Form_Load();
    QVERIFY(!form.Option3->isChecked());
    QVERIFY(form.Option4->isChecked());
    QVERIFY(form.Text1->isEnabled());
    QCOMPARE(form.Text1->text(), QStringLiteral("2,5"));
    QVERIFY(form.Timer1->isActive());
    QCOMPARE(form.Timer1->interval(), 100);
    QCOMPARE(form.nextRefreshTime, fixture.now + std::chrono::milliseconds(2500));
}

void SettingsTest::bothOptionsTrueEndsInAutomaticRefresh()
{
    FormFixture::store(QStringLiteral("Option3"), QStringLiteral("True"));
    FormFixture::store(QStringLiteral("Option4"), QStringLiteral("TRUE"));
    fixture.form->Form_Load();
    QVERIFY(!fixture.form->Option3->isChecked());
    QVERIFY(fixture.form->Option4->isChecked());
    QVERIFY(fixture.form->Timer1->isActive());
    QCOMPARE(FormFixture::stored(QStringLiteral("Option3")).toString(), QStringLiteral("False"));
}

void SettingsTest::bothOptionsFalseLeavesTimerAndIntervalBoxAsThey()
{
    FormFixture::store(QStringLiteral("Option3"), QStringLiteral("False"));
    FormFixture::store(QStringLiteral("Option4"), QStringLiteral("False"));
    Form1 &form = *fixture.form;
    form.Form_Load();
    QVERIFY(!form.Option3->isChecked());
    QVERIFY(!form.Option4->isChecked());
    QVERIFY(form.Text1->isEnabled()); // its form state
    QVERIFY(!form.Timer1->isActive());
    QVERIFY(fixture.dialogs->boxes.empty());
}

void SettingsTest::greyCheck1IsShownButDoesNotMakeTheWindowTopmost()
{
    FormFixture::store(QStringLiteral("Check1"), QStringLiteral("2"));
    Form1 &form = *fixture.form;
    loadAndShow(form, *fixture.order);
    QCOMPARE(form.Check1->checkState(), Qt::PartiallyChecked);
    QCOMPARE(form.check1Value(), 2);
    QVERIFY(!fixture.order->requests.empty());
    for (const auto &request : fixture.order->requests)
        QVERIFY(!request.topmost);
    // A click on the grey box checks it.
    QTest::mouseClick(form.Check1, Qt::LeftButton, {}, QPoint(8, form.Check1->height() / 2));
    QCOMPARE(form.check1Value(), 1);
    QVERIFY(fixture.order->requests.back().topmost);
}

void SettingsTest::unreadableValuesAreReportedAndControlsKeepTheirFormValues()
{
    FormFixture::store(QStringLiteral("Check1"), QStringLiteral("on"));
    FormFixture::store(QStringLiteral("Option3"), QStringLiteral("maybe"));
    FormFixture::store(QStringLiteral("Option4"), QStringLiteral("7"));
    Form1 &form = *fixture.form;
    loadAndShow(form, *fixture.order);
    QCOMPARE(fixture.dialogs->reportedSteps(), QList<int>({192, 202}));
    QCOMPARE(form.check1Value(), 0);
    QCOMPARE(fixture.order->requests.back().topmost, false);
    QVERIFY(form.Option4->isChecked()); // a number other than 0 is true
    QVERIFY(form.Timer1->isActive());

    FormFixture::store(QStringLiteral("Check1"), QStringLiteral("5"));
    FormFixture::store(QStringLiteral("Option4"), QStringLiteral("yes"));
    fixture.dialogs->boxes.clear();
    auto again = fixture.makeForm();
    again->Form_Load();
    // The first start saved the options it chose, "Option3" included.
    QCOMPARE(fixture.dialogs->reportedSteps(), QList<int>({192, 204}));
    QCOMPARE(again->check1Value(), 0);
    QVERIFY(!again->Option4->isChecked()); // its form value
}

void SettingsTest::check1ClickOrdersTheWindowAndSavesAtOnce()
{
    Form1 &form = *fixture.form;
    loadAndShow(form, *fixture.order);
    fixture.order->requests.clear();
    const WindowHandle window = WindowHandle(form.winId());
    QTest::mouseClick(form.Check1, Qt::LeftButton, {}, QPoint(8, form.Check1->height() / 2));
    QCOMPARE(FormFixture::stored(QStringLiteral("Check1")).toString(), QStringLiteral("1"));
    QTest::mouseClick(form.Check1, Qt::LeftButton, {}, QPoint(8, form.Check1->height() / 2));
    QCOMPARE(FormFixture::stored(QStringLiteral("Check1")).toString(), QStringLiteral("0"));
    const std::vector<FakeWindowOrder::Request> expected{{window, true}, {window, false}};
    QCOMPARE(fixture.order->requests, expected);

    // The next start restores it.
    form.Check1->setCheckState(Qt::Checked);
    auto next = fixture.makeForm();
    fixture.order->requests.clear();
    loadAndShow(*next, *fixture.order);
    QCOMPARE(next->check1Value(), 1);
    // Once, however many times the load asked for it.
    const std::vector<FakeWindowOrder::Request> once{{WindowHandle(next->winId()), true}};
    QCOMPARE(fixture.order->requests, once);
}

int runSettingsTests(int argc, char *argv[])
{
    SettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
