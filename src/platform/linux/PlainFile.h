// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/linux/FileDescriptor.h"

#include <QByteArray>

// A file opened for reading only if it is a plain file: looked at before the
// open, since opening a device may already do something, and opened without
// waiting, should a FIFO take its place meanwhile. Either the descriptor, or
// the errno of what failed, or neither: something other than a plain file
// was there.
struct OpenedPlainFile {
    FileDescriptor file;
    int error = 0;
};
OpenedPlainFile openPlainFile(const QByteArray &name);
