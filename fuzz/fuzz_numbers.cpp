// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The interval box and the stored numbers and Booleans, under a point and a
// comma locale.
#include "FuzzText.h"
#include "common/Failure.h"
#include "common/LocaleNumber.h"
#include "settings/SettingValues.h"

#include <QLocale>

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    QLocale::setDefault(data[0] & 2 ? QLocale(QLocale::German) : QLocale::c());
    const QString text = fuzzText(data + 1, size - 1);
    for (const bool toPoint : {false, true})
        if (normaliseDecimal(text, toPoint).size() != text.size())
            std::abort();
    const QString normalised = normaliseDecimal(text, false);
    const auto number = readLocaleNumber(normalised);
    if (number && !std::isfinite(*number))
        std::abort();
    // The interval and the number read alike wherever the locale reads a finite number.
    if (const auto read = readLocaleDouble(normalised); read && std::isfinite(*read))
        if (number != read)
            std::abort();
    try {
        textToInteger(text);
    } catch (const Failure &) {
    }
    try {
        textToBoolean(text);
    } catch (const Failure &) {
    }
    return 0;
}
