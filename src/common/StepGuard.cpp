// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/StepGuard.h"

#include "common/ErrorReport.h"

void StepGuard::report(const QString &description)
{
    ++m_failures;
    if (m_unseen)
        return;
    // The box runs a nested event loop; a failure in there must not reach us.
    try {
        reportError(description, m_label, m_step);
    } catch (...) {
    }
}
