// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/AppIcon.h"

#include <QCoreApplication>

#include <optional>

// Each is made once, as making it reads every picture or probes every folder
// of the theme, and dropped with the application, before the pictures' own
// parts go.
QIcon appIcon()
{
    static std::optional<QIcon> icon;
    if (!icon) {
        // The pictures live in the static library, whose resources are not
        // registered by themselves.
        Q_INIT_RESOURCE(resources);
        icon.emplace();
        for (const int size : {16, 24, 32, 48, 64, 128, 256})
            icon->addFile(QStringLiteral(":/icons/trelvanix-%1.png").arg(size), QSize(size, size));
        qAddPostRoutine([] { icon.reset(); });
    }
    return *icon;
}

QIcon themeAppIcon()
{
    static std::optional<QIcon> icon;
    if (!icon) {
        icon = QIcon::fromTheme(QStringLiteral("trelvanix"));
        if (icon->availableSizes().isEmpty()) // a name the theme does not know
            icon = QIcon();
        qAddPostRoutine([] { icon.reset(); });
    }
    return *icon;
}
