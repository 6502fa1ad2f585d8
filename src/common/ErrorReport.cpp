// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/ErrorReport.h"

#include "common/DialogService.h"

QString errorReportMessage(const QString &description, const QString &locationLabel, int step)
{
    return description + QStringLiteral("\r\n") + locationLabel + QStringLiteral("at line ") +
           QString::number(step) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") +
           QLatin1String(supportEmailAddress);
}

void reportError(const QString &description, const QString &locationLabel, int step)
{
    DialogService::current().messageBox(errorReportMessage(description, locationLabel, step),
                                        QStringLiteral("Application Error"),
                                        DialogService::Icon::Exclamation);
}
