// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The kill list and the options in the settings store, and keep-on-top.
#include "app/Form1.h"

#include "app/ListColumns.h"
#include "app/ListView.h"
#include "common/ErrorReport.h"
#include "common/Failure.h"
#include "common/StepGuard.h"
#include "platform/PlatformServices.h"
#include "settings/KillListText.h"
#include "settings/SettingValues.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <utility>

namespace
{
const QString killListKey = QStringLiteral("Processes");

// An exclusive option button cannot be switched off on its own; the stored
// options may still say that neither is chosen.
void setOptionValue(QRadioButton *option, bool on)
{
    if (option->isChecked() == on)
        return;
    option->setAutoExclusive(on);
    option->setChecked(on);
    option->setAutoExclusive(true);
}
} // namespace

QString Form1::killListEntry(int position) const
{
    return KillListText::entry(ListView2->text(position),
                               ListView2->subItem(position, KillNameColumn));
}

void Form1::saveKillListAtExit() noexcept
{
    if (m_unloaded || !m_killListRestored)
        return;
    m_unloaded = true;
    StepGuard unseen(StepGuard::Unseen);
    saveKillList(unseen);
}

void Form1::saveKillList(StepGuard &guard)
{
    QString text;
    guard.step(100, [&] { text.clear(); });
    int count = 0;
    int position = 1;
    guard.loop(
        102, [&] { return (count = ListView2->count()) >= position; }, 106,
        [&] { return ++position <= count; },
        [&] { guard.step(104, [&] { text += killListEntry(position); }); });
    guard.step(108, [&] { writeSetting(killListKey, text); });
}

// False when the store could not be read: the list then stands for nothing
// stored, and saving it would overwrite what is there.
bool Form1::restoreKillList(StepGuard &guard)
{
    QString text;
    if (!guard.step(174, [&] { text = readSetting(killListKey); }))
        return false;
    if (!guard.test(176, [&] { return !text.isEmpty(); }))
        return true;
    QStringList pieces;
    guard.step(178, [&] { pieces = KillListText::pieces(text); });
    qsizetype index = 0;
    guard.loop(
        180, [&] { return index < pieces.size(); }, 190, [&] { return ++index < pieces.size(); },
        [&] {
            const QString &piece = pieces[index];
            if (!guard.test(182, [&] { return !piece.isEmpty(); }))
                return;
            QStringList fields;
            guard.step(184, [&] { fields = KillListText::fields(piece); });
            std::optional<ListItem> row;
            if (!guard.step(186, [&] { row = ListView2->addRow(fields.value(0)); }))
                return;
            guard.step(188, [&] {
                if (fields.size() < 2)
                    throw IndexFailure(
                        QStringLiteral("Subscript out of range: the entry has no name"));
                row->setSubItem(KillNameColumn, fields[1]);
            });
        });
    return true;
}

void Form1::restoreOptions(StepGuard &guard)
{
    guard.step(192, [&] { setCheck1Value(textToInteger(readSetting("Check1", "0"))); });
    applyKeepOnTop(guard, 194);
    guard.step(200, [&] { Text1->setText(readSetting(QStringLiteral("Text1"), "1")); });
    guard.step(202, [&] { setOptionValue(Option3, textToBoolean(readSetting("Option3", "1"))); });
    guard.step(204, [&] { setOptionValue(Option4, textToBoolean(readSetting("Option4", "0"))); });
}

int Form1::check1Value() const
{
    switch (Check1->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void Form1::setCheck1Value(int value)
{
    if (value < 0 || value > 2)
        throw Failure(QStringLiteral("Invalid property value: %1 is not 0, 1 or 2").arg(value));
    Check1->setCheckState(value == 1   ? Qt::Checked
                          : value == 2 ? Qt::PartiallyChecked
                                       : Qt::Unchecked);
}

// Only the box fully on keeps the window on top; the grey state does not.
bool Form1::keptOnTop() const
{
    return check1Value() == 1;
}

void Form1::applyKeepOnTop(StepGuard &guard, int firstStep)
{
    // A window made topmost before it was first shown is one Wine gets wrong:
    // its clicks land a title bar's height off, and it stays on top for good.
    // Sending it to the bottom stays before the show, where it always was:
    // Wine takes that, and the show still brings the window up as any new one.
    if (!m_everShown && keptOnTop()) {
        m_keepOnTopWaits = true;
        return;
    }
    if (guard.test(firstStep, [&] { return keptOnTop(); }))
        guard.step(firstStep + 2, [&] { m_platform.windowOrder->makeTopmost(ownWindow()); });
    else
        guard.step(firstStep + 4, [&] { m_platform.windowOrder->sendToBottom(ownWindow()); });
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_everShown = true;
    // Queued: the window is shown on the system only once this event is over.
    if (std::exchange(m_keepOnTopWaits, false))
        QMetaObject::invokeMethod(this, &Form1::applyKeepOnTopOnceShown, Qt::QueuedConnection);
}

void Form1::applyKeepOnTopOnceShown()
{
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("Form_Load")));
    applyKeepOnTop(guard, 194);
}

void Form1::Check1_Click()
{
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("Check1_Click")));
    applyKeepOnTop(guard, 100);
    guard.step(106,
               [&] { writeSetting(QStringLiteral("Check1"), QString::number(check1Value())); });
}
