// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>

#include <cmath>

// Screen lengths are given in twips, 1/1440 inch.
inline int twipsToPixels(int twips, double dotsPerInch)
{
    return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}

inline QRect twipsToPixels(const QRect &twips, double dotsPerInch)
{
    return QRect(twipsToPixels(twips.left(), dotsPerInch), twipsToPixels(twips.top(), dotsPerInch),
                 twipsToPixels(twips.width(), dotsPerInch),
                 twipsToPixels(twips.height(), dotsPerInch));
}
