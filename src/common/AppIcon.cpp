// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/AppIcon.h"

QIcon appIcon()
{
    // The pictures live in the static library, whose resources are not
    // registered by themselves.
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);

    QIcon drawn;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        drawn.addFile(QStringLiteral(":/icons/trelvanix-%1.png").arg(size), QSize(size, size));
    // An installed program's icon theme holds the same picture at the sizes
    // the desktop asks for; run from its build folder, it has none.
    return QIcon::fromTheme(QStringLiteral("trelvanix"), drawn);
}
