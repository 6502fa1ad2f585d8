// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The product name, as the caption, tray tip and title source use it.
inline constexpr const char *productName = "Trelvanix";

// The title derived from a product name: the last word goes, and further words
// go while the text is longer than 40 characters. A name without a blank is
// kept whole.
QString applicationTitleFor(const QString &name);

// Derives the application title from the product name and makes it current.
void setApplicationTitle();

// The title of message boxes opened without one of their own.
QString applicationTitle();
