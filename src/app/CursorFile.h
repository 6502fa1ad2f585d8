#pragma once

#include <QCursor>
#include <QString>

// Reads a Windows cursor file (.CUR): its first image with the hotspot the file
// gives. Throws Failure when the file cannot be read or is not a cursor.
QCursor loadCursorFile(const QString &path);
