// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCursor>
#include <QImage>
#include <QString>

// Reads a Windows cursor file (.CUR): its first image with the hotspot the file
// gives. Throws Failure when the file cannot be read, is no plain file (a FIFO
// is not waited on) or is not a cursor.
QCursor loadCursorFile(const QString &path);

// The first image of a cursor file's bytes and its hotspot, kept inside the
// image. Throws Failure when the bytes are not a cursor.
QImage decodeCursor(const QByteArray &data, QPoint &hotSpot);

// Writes a picture as a cursor file with the given hotspot; false on failure.
bool saveCursorFile(const QImage &image, QPoint hotSpot, const QString &path);
