// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SessionBus.h"

#include "platform/linux/AnnouncedBus.h"
#include "platform/linux/x11/XConnection.h"

#include <QByteArray>
#include <QFile>
#include <QtGlobal>

#include <cstdio>
#include <memory>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// More than any bus address that dbus-launch writes.
constexpr quint32 addressLongs = 1024;

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

QByteArray machineId()
{
    for (const char *path : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly))
            if (const QByteArray id = file.readLine(64).trimmed(); !id.isEmpty())
                return id;
    }
    return {};
}

// The bus that dbus-launch started for this display and user, which it
// announces on the display itself; empty where there is none.
QByteArray busOfTheDisplay()
{
    const QByteArray machine = machineId();
    const passwd *user = ::getpwuid(::getuid());
    if (machine.isEmpty() || !user || qgetenv("DISPLAY").isEmpty())
        return {};
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> c(
        xcb_connect(nullptr, nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(c.get()))
        return {};
    const QByteArray selectionName =
        "_DBUS_SESSION_BUS_SELECTION_" + QByteArray(user->pw_name) + '_' + machine;
    const auto selectionCookie = askForAtom(c.get(), selectionName.constData());
    const auto addressCookie = askForAtom(c.get(), "_DBUS_SESSION_BUS_ADDRESS");
    const xcb_atom_t selection = atomFrom(c.get(), selectionCookie);
    const xcb_atom_t address = atomFrom(c.get(), addressCookie);
    const XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        c.get(), xcb_get_selection_owner(c.get(), selection), nullptr));
    if (!owner || owner->owner == XCB_NONE || address == XCB_ATOM_NONE)
        return {};
    const XcbReply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        c.get(),
        xcb_get_property(c.get(), 0, owner->owner, address, XCB_ATOM_STRING, 0, addressLongs),
        nullptr));
    if (!property || property->format != 8)
        return {};
    QByteArray text(static_cast<const char *>(xcb_get_property_value(property.get())),
                    xcb_get_property_value_length(property.get()));
    if (const qsizetype end = text.indexOf('\0'); end >= 0)
        text.truncate(end);
    return text.trimmed();
}
} // namespace

void neverStartASessionBus()
{
    if (!qgetenv("DBUS_SESSION_BUS_ADDRESS").isEmpty() || busAtTheUsualPlace())
        return;
    // Else the bus library would run dbus-launch, which joins the bus it
    // started for this display before, or starts one. The first is asked
    // here; the library gives up at once on an address of a kind it does not
    // know.
    QByteArray address = busOfTheDisplay();
    if (const QString problem = address.isEmpty() ? QString() : whyNotJoin(address);
        !problem.isEmpty()) {
        std::fprintf(stderr, "trelvanix: the session bus the display announces is not used: %s.\n",
                     qPrintable(problem));
        address.clear();
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.isEmpty() ? QByteArray("disabled:") : address);
}
