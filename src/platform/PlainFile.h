// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// The files the program reads from its own folder at start-up, where anything
// may be found: a FIFO whose open waits for a writer, a folder, a device.

// A plain file's bytes, or why there are none.
struct PlainFileBytes {
    QByteArray bytes;
    QString problem; // in words for the user; empty when read
};

// Reads at most `mostBytes` bytes of the file at `path`, through links, if it
// is a plain file; anything else is refused without being opened or waited on.
PlainFileBytes readPlainFile(const QString &path, qint64 mostBytes);
