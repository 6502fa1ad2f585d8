// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Refresh and monitoring of the running list.
#include "app/Form1.h"

#include "app/ListView.h"
#include "common/DialogService.h"
#include "common/ErrorReport.h"
#include "common/LocaleNumber.h"
#include "common/StepGuard.h"
#include "settings/SettingValues.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace
{
using std::chrono::nanoseconds;
constexpr int pollMilliseconds = 100;
constexpr double defaultIntervalSeconds = 1;
// The shortest interval the program offers: the box's check raises a shorter
// one to it.
constexpr double shortestIntervalSeconds = 0.5;
// Over three years: far beyond any wish for a refresh, far within the clock.
constexpr double longestIntervalSeconds = 1e8;

// The interval that monitoring uses for a text. A text that is no number (it
// may come from the store unchecked) means the default; a huge one is capped,
// and one below the shortest, typed into the store by hand, is raised to it
// while the text stays as it was stored.
nanoseconds refreshInterval(const QString &text)
{
    const std::optional<double> seconds = readLocaleDouble(normaliseDecimal(text, false));
    const double bounded =
        !seconds || std::isnan(*seconds)
            ? defaultIntervalSeconds
            : std::clamp(*seconds, shortestIntervalSeconds, longestIntervalSeconds);
    return std::chrono::duration_cast<nanoseconds>(std::chrono::duration<double>(bounded));
}

// Focus that moves between controls of the window counts; the window losing
// or regaining activation (its own boxes included) does not.
bool movesBetweenControls(const QEvent *event)
{
    const auto reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
} // namespace

void Form1::refreshRunningList(StepGuard &guard, int firstStep)
{
    if (!m_yields.refreshStarts())
        return;
    do {
        const ListView::RebuildScope quiet(*ListView1);
        guard.step(firstStep, [&] { loadProcesses(); });
        guard.step(firstStep + 2, [] { QCoreApplication::processEvents(); });
        guard.step(firstStep + 4, [] { QCoreApplication::processEvents(); });
        guard.step(firstStep + 6, [&] { loadWindows(); });
    } while (m_yields.refreshRunsAgain());
    if (m_yields.refreshEnds())
        QMetaObject::invokeMethod(this, &Form1::runDeferredCommands, Qt::QueuedConnection);
    endLaterIfRequested();
}

void Form1::runDeferredCommands()
{
    for (const auto command : m_yields.takeDeferred())
        (this->*command)();
}

void Form1::PushButton1_Click()
{
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("PushButton1_Click")));
    refreshRunningList(guard, 100);
}

void Form1::Option3_Click()
{
    chooseRefreshOption(TRELVANIX_FORM1_LABEL("Option3_Click"));
}

void Form1::Option4_Click()
{
    chooseRefreshOption(TRELVANIX_FORM1_LABEL("Option4_Click"));
}

// A click on either option saves both, then applies the choice.
void Form1::chooseRefreshOption(const char *handler)
{
    StepGuard guard(QString::fromLatin1(handler));
    guard.step(
        100, [&] { writeSetting(QStringLiteral("Option3"), booleanToText(Option3->isChecked())); });
    guard.step(
        102, [&] { writeSetting(QStringLiteral("Option4"), booleanToText(Option4->isChecked())); });
    applyRefreshOption(guard, 104);
}

// The stored options may say that neither is chosen: then nothing changes.
void Form1::applyRefreshOption(StepGuard &guard, int firstStep)
{
    if (guard.test(firstStep, [&] { return Option3->isChecked(); })) {
        guard.step(firstStep + 2, [&] { Text1->setEnabled(false); });
        guard.step(firstStep + 4, [&] { StopTimer(); });
    } else if (guard.test(firstStep + 6, [&] { return Option4->isChecked(); })) {
        guard.step(firstStep + 8, [&] { Text1->setEnabled(true); });
        guard.step(firstStep + 10, [&] { StartTimer(); });
    }
}

void Form1::Text1_Change()
{
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("Text1_Change")));
    guard.step(100, [&] { writeSetting(QStringLiteral("Text1"), Text1->text()); });
}

void Form1::Text1_GotFocus()
{
    StopTimer();
}

void Form1::Text1_LostFocus()
{
    if (!Option4->isChecked())
        return;
    const std::optional<double> seconds = readLocaleNumber(normaliseDecimal(Text1->text(), false));
    if (!seconds) {
        DialogService::current().messageBox(QStringLiteral("Must be a numeric value."), QString(),
                                            DialogService::Icon::None);
        Text1->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (*seconds < shortestIntervalSeconds)
        Text1->setText(normaliseDecimal(QStringLiteral("0.5"), true));
    StartTimer();
}

void Form1::watchText1Focus(QEvent *event)
{
    if (!movesBetweenControls(event))
        return;
    if (event->type() == QEvent::FocusIn)
        Text1_GotFocus();
    else // after the focus has settled on the next control, as a user sees it
        QMetaObject::invokeMethod(this, &Form1::Text1_LostFocus, Qt::QueuedConnection);
}

void Form1::StartTimer()
{
    nextRefreshTime = m_clock() + refreshInterval(Text1->text());
    Timer1->setInterval(pollMilliseconds);
    Timer1->start();
}

void Form1::StopTimer()
{
    Timer1->setInterval(0);
    Timer1->stop();
}

void Form1::Timer1_Timer()
{
    if (m_yields.dropsTick())
        return;
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("Timer1_Timer")));
    if (!guard.test(100, [&] { return m_clock() >= nextRefreshTime; }))
        return;
    guard.step(102, [&] { StopTimer(); });
    refreshRunningList(guard, 104);
    guard.step(112, [&] { StartTimer(); });
}
