// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SessionBus.h"

#include <QByteArray>
#include <QFile>
#include <QtGlobal>

#include <cstdlib>
#include <memory>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

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

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *c, const QByteArray &name)
{
    const Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.constData()),
            nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
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
    const xcb_atom_t selection =
        atom(c.get(), "_DBUS_SESSION_BUS_SELECTION_" + QByteArray(user->pw_name) + '_' + machine);
    const xcb_atom_t address = atom(c.get(), "_DBUS_SESSION_BUS_ADDRESS");
    const Owned<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c.get(), xcb_get_selection_owner(c.get(), selection),
                                      nullptr),
        &std::free);
    if (!owner || owner->owner == XCB_NONE || address == XCB_ATOM_NONE)
        return {};
    const Owned<xcb_get_property_reply_t> property(
        xcb_get_property_reply(
            c.get(),
            xcb_get_property(c.get(), 0, owner->owner, address, XCB_ATOM_STRING, 0, addressLongs),
            nullptr),
        &std::free);
    if (!property || property->format != 8)
        return {};
    const QByteArray text(static_cast<const char *>(xcb_get_property_value(property.get())),
                          xcb_get_property_value_length(property.get()));
    return text.left(text.indexOf('\0') < 0 ? text.size() : text.indexOf('\0')).trimmed();
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
    const QByteArray displays = busOfTheDisplay();
    qputenv("DBUS_SESSION_BUS_ADDRESS", displays.isEmpty() ? QByteArray("disabled:") : displays);
}
