// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Display.h"

#include <xcb/xcb.h>

#include <memory>

void chooseWindowPlatform()
{
    // The windows we list and order are X11 windows; on a Wayland session we
    // run on XWayland whenever it is there.
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

QString displayProblem()
{
    // Another toolkit platform (offscreen, wayland) was chosen on purpose.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return {};
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        return QStringLiteral("no X display: DISPLAY is not set");
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(display.constData(), nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return QStringLiteral("cannot open the X display \"%1\"")
            .arg(QString::fromLocal8Bit(display));
    return {};
}
