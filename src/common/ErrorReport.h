// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Where failures are to be sent; a constant of the program.
inline constexpr const char *supportEmailAddress = "support@trelvanix.example.com";
// Where users' questions go, as the help message gives it.
inline constexpr const char *contactPageAddress = "https://www.trelvanix.example.com/contact";

// The text of the error report box: description, CR LF, the handler's location
// label, "at line " and the step, CR CR, the request to write to support.
QString errorReportMessage(const QString &description, const QString &locationLabel, int step);

// Shows the error report box and returns once the user has closed it.
void reportError(const QString &description, const QString &locationLabel, int step);

// The location label of a handler of the main window, e.g.
// "in Trelvanix2021/08/31.Form1.PushButton7_Click ".
#define TRELVANIX_FORM1_LABEL(handler) "in Trelvanix2021/08/31.Form1." handler " "
