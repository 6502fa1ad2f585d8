// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PlainFile.h"

#include <QFile>
#include <QFileInfo>

// A folder on Windows holds no FIFOs, but a folder is still no file to read.
PlainFileBytes readPlainFile(const QString &path, qint64 mostBytes)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return {{}, QStringLiteral("it is not a plain file")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    return {file.read(mostBytes), {}};
}
