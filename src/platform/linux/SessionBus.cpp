// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SessionBus.h"

#include <QByteArray>
#include <QtGlobal>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Where the bus library looks when the session names no bus: a socket of the
// user's own in the runtime folder.
bool busAtTheUsualPlace()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat status {
    };
    return !runtime.isEmpty() && ::lstat((runtime + "/bus").constData(), &status) == 0 &&
           S_ISSOCK(status.st_mode) && status.st_uid == ::getuid();
}
} // namespace

void neverStartASessionBus()
{
    if (!qgetenv("DBUS_SESSION_BUS_ADDRESS").isEmpty() || busAtTheUsualPlace())
        return;
    // Else it would fork dbus-launch to start one; it gives up at once on an
    // address of a kind it does not know.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}
