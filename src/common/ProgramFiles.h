// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// True when the file's modification time can be read; never fails.
bool fileExists(const QString &path);

// The program's folder followed by a `\`-separated relative name, joined with
// the platform's separator ("\HAND-M.CUR").
QString programFilePath(const QString &programFolder, const QString &backslashName);
