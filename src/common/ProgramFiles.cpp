// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>

bool fileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
}

QString programFilePath(const QString &programFolder, const QString &backslashName)
{
    QString relative = backslashName;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::toNativeSeparators(programFolder + relative);
}
