// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/linux/FileDescriptor.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

// The settings file on disk, where anything may be found: a file larger than
// any store, a FIFO that never ends, a name that leads through links to the
// file of someone else.

// The file's bytes, empty when there is no file yet; or why they could not be
// read, in words for the user.
struct StoreBytes {
    QByteArray bytes;
    QString problem;
};

// Reads the file at `path`, through links: reading harms nobody's file.
StoreBytes readStoreFile(const QString &path);

// The file that a save of `path` replaces: the file of that name, or the one
// its links lead to, which then stays where they lead. A save refuses a link
// of another user, a link that leads nowhere, a file that is not a plain file,
// a file or folder of another user, and a link that leads out of
// `linkFolders`: root owns the system's files, so ownership alone would let
// a link to one of them through. Once checked, the file is reached through
// descriptors only: a name swapped meanwhile is never followed.
class StoreFileSave
{
public:
    StoreFileSave(const QString &path, const QStringList &linkFolders);

    // Why the file must not be saved; empty when it may.
    const QString &problem() const { return m_problem; }

    bool exists() const { return m_file.isValid(); }

    // What the checked file holds.
    StoreBytes read() const;

    // Puts `bytes` in the file's place whole, or leaves it as it was and says
    // why; empty when done.
    QString replace(const QByteArray &bytes) const;

private:
    QString find(const QString &path, const QStringList &linkFolders);
    bool stillInPlace() const;

    FileDescriptor m_folder;
    QByteArray m_folderPath;
    QByteArray m_name;
    FileDescriptor m_file;
    struct stat m_stat = {};
    QString m_problem;
};
