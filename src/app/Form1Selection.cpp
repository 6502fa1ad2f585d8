// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The selection commands, which set check marks of the running list, and Help.
#include "app/Form1.h"

#include "app/ListView.h"
#include "common/DialogService.h"
#include "common/ErrorReport.h"
#include "common/StepGuard.h"

namespace
{
QString withoutOuterSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}
} // namespace

void Form1::PushButton6_Click()
{
    if (!m_yields.defers(&Form1::PushButton6_Click))
        markAll(TRELVANIX_FORM1_LABEL("PushButton6_Click"), true);
}

void Form1::PushButton9_Click()
{
    if (!m_yields.defers(&Form1::PushButton9_Click))
        markAll(TRELVANIX_FORM1_LABEL("PushButton9_Click"), false);
}

void Form1::PushButton7_Click()
{
    if (!m_yields.defers(&Form1::PushButton7_Click))
        markByName(TRELVANIX_FORM1_LABEL("PushButton7_Click"), true);
}

void Form1::PushButton8_Click()
{
    if (!m_yields.defers(&Form1::PushButton8_Click))
        markByName(TRELVANIX_FORM1_LABEL("PushButton8_Click"), false);
}

void Form1::markAll(const char *handlerLabel, bool checked)
{
    StepGuard guard(QString::fromLatin1(handlerLabel));
    int count = 0;
    int position = 1;
    guard.loop(
        100, [&] { return position <= (count = ListView1->count()); }, 104,
        [&] { return ++position <= count; },
        [&] { guard.step(102, [&] { ListView1->setChecked(position, checked); }); });
}

// Only adds marks: a row that does not match keeps the mark it had.
void Form1::markByName(const char *handlerLabel, bool containing)
{
    StepGuard guard(QString::fromLatin1(handlerLabel));
    QString answer;
    guard.step(100, [&] {
        answer = DialogService::current().inputBox(QStringLiteral("Enter X: "),
                                                   QStringLiteral("Input X"), QString());
    });
    if (!guard.test(102, [&] { return !withoutOuterSpaces(answer).isEmpty(); }))
        return;
    int count = 0;
    int position = 1;
    guard.loop(
        104, [&] { return position <= (count = ListView1->count()); }, 110,
        [&] { return ++position <= count; },
        [&] {
            // Qt's case-insensitive search folds each character by Unicode's
            // simple case folding; the answer is searched literally, spaces and all.
            if (guard.test(106, [&] {
                    return ListView1->text(position).contains(answer, Qt::CaseInsensitive) ==
                           containing;
                }))
                guard.step(108, [&] { ListView1->setChecked(position, true); });
        });
}

void Form1::PushButton2_Click()
{
    if (m_yields.defers(&Form1::PushButton2_Click))
        return;
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("PushButton2_Click")));
    guard.step(100, [] {
        DialogService::current().messageBox(
            QStringLiteral("Questions? Please contact Team Quorbel at ") +
                QLatin1String(contactPageAddress),
            QString(), DialogService::Icon::None);
    });
}
