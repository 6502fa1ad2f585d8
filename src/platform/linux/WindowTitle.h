// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowWalk.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

// The most bytes that many characters take in UTF-8.
constexpr qsizetype titleByteLimit = 4 * titleCharacterLimit;
// What is asked of the server, in 32-bit units: a few bytes past the limit
// show where a character cut at the limit ends.
constexpr quint32 titleFetchLongs = titleByteLimit / 4 + 1;

enum class TitleEncoding { Utf8, Latin1, CompoundText };

// Decodes COMPOUND_TEXT as the user's locale reads it; it needs a display.
using CompoundTextDecoder = std::function<QString(const QByteArray &)>;

// The title held in `bytes` (which end at their first NUL, as a C string
// would), at most titleCharacterLimit UTF-16 units and never half a
// surrogate pair. Without a decoder, COMPOUND_TEXT reads as Latin-1.
QString decodeTitle(QByteArrayView bytes, TitleEncoding encoding,
                    const CompoundTextDecoder &decodeCompound = {});
