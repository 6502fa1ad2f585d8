// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// "Kill Selected Processes": ends every checked process, asks every checked
// task's window to close, then refreshes the running list.
#include "app/Form1.h"

#include "app/ListColumns.h"
#include "app/ListView.h"
#include "common/DialogService.h"
#include "common/ErrorReport.h"
#include "common/Failure.h"
#include "common/StepGuard.h"
#include "common/VisibleText.h"
#include "platform/OwnProgram.h"
#include "platform/PlatformServices.h"
#include "proc/TerminationBatch.h"

#include <limits>

namespace
{
// Long enough for killed processes to be reaped and cooperating windows to
// go, short enough that a window asking its user first does not hold us up.
constexpr std::chrono::milliseconds endWaitLimit{500};

// The ID column: decimal text of a signed 32-bit value.
qint32 listedId(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok)
        throw Failure(QStringLiteral("Type mismatch"));
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw Failure(QStringLiteral("Overflow"));
    return static_cast<qint32>(value);
}
} // namespace

void Form1::PushButton5_Click()
{
    StepGuard guard(QStringLiteral(TRELVANIX_FORM1_LABEL("PushButton5_Click")));
    if (guard.test(100, [&] { return m_yields.dropsKillPress(); }) ||
        m_yields.defers(&Form1::PushButton5_Click))
        return;
    guard.step(102, [&] { m_yields.killPassStarts(); });
    TerminationBatch batch(*m_platform.processControl, *m_platform.windowControl);
    bool ownRowChecked = false;
    int count = 0;
    int position = 1;
    guard.loop(
        104, [&] { return m_yields.killPassGoesOn() && position <= (count = ListView1->count()); },
        124, [&] { return m_yields.killPassGoesOn() && ++position <= count; },
        [&] { ownRowChecked |= killRow(guard, batch, position); });
    // Ending itself mid-walk would leave the later rows running and the kill
    // list unsaved; the program goes last, as a close ends it.
    if (ownRowChecked)
        requestEnd(EndRequest::ByUser);
    if (m_yields.killPassGoesOn())
        guard.step(126, [&] {
            batch.waitForAll(endWaitLimit);
            PushButton1_Click();
        });
    guard.step(128, [&] { m_yields.killPassEnds(); });
    endLaterIfRequested();
}

// Handles one row; true when it is the program's own process, left for last.
bool Form1::killRow(StepGuard &guard, TerminationBatch &batch, int position)
{
    // A row that cannot be read is left alone: nothing is ended on a guess.
    bool checked = false;
    if (!guard.step(106, [&] { checked = ListView1->isChecked(position); }) || !checked)
        return false;
    qint32 id = 0;
    if (!guard.step(108, [&] { id = listedId(ListView1->subItem(position, IdColumn)); }))
        return false;
    bool isTask = false;
    if (!guard.step(110, [&] {
            isTask = ListView1->subItem(position, TypeColumn) == QLatin1String("Task");
        }))
        return false;
    if (isTask) {
        guard.step(112, [&] { batch.requestClose(id); });
        return false;
    }
    if (OwnProgram().owns(OwnProgram::Seen::process(id)))
        return true;
    std::unique_ptr<ProcessHandle> handle;
    guard.step(114, [&] { handle = batch.openListedProcess(id, ListView1->identity(position)); });
    bool ended = false;
    guard.step(116, [&] { ended = handle && handle->terminate(0); });
    if (guard.test(118, [&] { return !ended; }))
        guard.step(120, [&] {
            DialogService::current().messageBox(QStringLiteral("Unable to terminate ") +
                                                    visibleText(ListView1->text(position)),
                                                QString(), DialogService::Icon::None);
        });
    guard.step(122, [&] { batch.release(std::move(handle), ended); });
    return false;
}
