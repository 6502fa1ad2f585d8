// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Text chosen by other programs as the list shows it. Control characters and
// the marks that steer bidirectional text are drawn as visible symbols, so
// that a name can neither reorder what follows it (U+202E before "exe.txt"
// reads "txt.exe") nor break its row into lines: C0 controls become their
// Control Pictures (U+2400 up), DEL becomes U+2421, and C1 controls, the line
// and paragraph separators and the bidirectional marks, embeddings, overrides
// and isolates become "<U+XXXX>". Other text comes back unchanged.
QString visibleText(const QString &text);
