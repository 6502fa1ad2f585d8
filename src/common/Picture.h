// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QMetaType>

// A picture object of the form runtime: its kind, and the image it holds.
struct Picture {
    // The kinds that the program makes or refuses; the numbers are the runtime's.
    enum Type : int { None = 0, Bitmap = 1, Icon = 3 };

    Type type = None;
    QIcon image;

    bool isNone() const { return type == None; }
};

Q_DECLARE_METATYPE(Picture)
