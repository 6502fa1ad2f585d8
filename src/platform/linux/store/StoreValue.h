// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// How a settings file holds one value after its key's "=".
//
// A value runs to the end of its line, the blanks at both ends left out; ",",
// ";" and "#" in it are plain characters. It has one of two forms:
//  - quoted: the whole value is one double-quoted string, as QSettings wrote
//    text holding ",", ";", "=" or blanks at its ends. Inside, a backslash
//    escapes: \\ \" \' \? \a \b \f \n \r \t \v, \x with one to four hex
//    digits, \ with one to three octal digits; any other backslash is itself.
//  - plain: anything else, taken as typed except that \\ and \" read as \ and
//    ", which is all the escaping QSettings gave a plain value in practice.
//    A lone backslash, as in C:\temp, stays.
// Either way a leading "@@" reads as "@", undoing QSettings' doubling of a
// leading "@".

QString decodeStoreValue(QByteArrayView value);

// The plain form when it reads back as `text` and has no line break in it,
// the quoted form otherwise.
QByteArray encodeStoreValue(QStringView text);

// Without the spaces and tabs at both ends.
QByteArrayView trimBlanks(QByteArrayView bytes);
