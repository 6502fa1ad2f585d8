// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The hand cursor file a user drops into the program's folder.
#include "app/CursorFile.h"
#include "common/Failure.h"

#include <QGuiApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    try {
        QPoint hotSpot;
        const QImage image = decodeCursor(bytes, hotSpot);
        if (!QRect(QPoint(0, 0), image.size()).contains(hotSpot))
            std::abort();
    } catch (const Failure &) {
    }
    return 0;
}
