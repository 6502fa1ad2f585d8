// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The most lines a message box shows, enough for a screen of any usual size.
constexpr qsizetype mostBoxLines = 30;

// What a message box shows of a text that may be huge: at most `lines` lines
// (three at least) and 2,000 characters at 30 lines, fewer with fewer, cut out
// of the middle, with long runs free to wrap, so that the box fits the screen.
QString boundedForBox(const QString &text, qsizetype lines = mostBoxLines);
