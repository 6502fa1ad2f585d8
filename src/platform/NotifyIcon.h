// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QIcon>
#include <QString>

#include <array>
#include <cstdint>
#include <cstring>

// The shell's notify-icon record in its 488-byte ANSI form, little-endian.
// Texts are in the system's 8-bit encoding, each ending with a zero byte:
// UTF-8 on Linux, and on Windows too, where the program's manifest asks for it.
struct NotifyIconRecord {
    static constexpr int size = 488;
    enum Offset : int {
        cbSize = 0,
        hWnd = 4,
        uID = 8,
        uFlags = 12,
        uCallbackMessage = 16,
        hIcon = 20,
        szTip = 24,
        dwState = 152,
        dwStateMask = 156,
        szInfo = 160,
        uTimeout = 416,
        szInfoTitle = 420,
        dwInfoFlags = 484,
    };
    enum FieldSize : int { tipSize = 128, infoSize = 256, infoTitleSize = 64 };
    enum Flag : quint32 { Message = 1, Icon = 2, Tip = 4, Info = 16 };

    std::array<std::uint8_t, size> bytes{};

    quint32 number(int offset) const
    {
        quint32 value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | bytes[offset + i];
        return value;
    }
    void setNumber(int offset, quint32 value)
    {
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    // The field's text up to its zero byte.
    QString text(int offset, int fieldSize) const
    {
        const auto *field = reinterpret_cast<const char *>(bytes.data() + offset);
        return QString::fromLocal8Bit(field, qstrnlen(field, fieldSize));
    }
    // Writes as much of `text` as fits before the field's zero byte, never
    // cutting a character in two.
    void setText(int offset, int fieldSize, const QString &text)
    {
        QByteArray encoded;
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype units =
                text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()
                    ? 2
                    : 1;
            const QByteArray character = text.mid(i, units).toLocal8Bit();
            if (encoded.size() + character.size() > fieldSize - 1)
                break;
            encoded += character;
            i += units;
        }
        std::memset(bytes.data() + offset, 0, static_cast<std::size_t>(fieldSize));
        std::memcpy(bytes.data() + offset, encoded.constData(),
                    static_cast<std::size_t>(encoded.size()));
    }
};

// What the shell reports about an icon, as the lParam of its callback message.
enum NotifyIconMessage : qintptr {
    MouseMoved = 0x200,
    LeftDown = 0x201,
    LeftUp = 0x202,
    LeftDoubleClick = 0x203,
    RightDown = 0x204,
    RightUp = 0x205,
    RightDoubleClick = 0x206,
    BalloonHidden = 0x403,
    BalloonTimedOut = 0x404,
    BalloonClicked = 0x405,
};

// The notification area, through the shell's notify-icon call.
class NotifyIconShell
{
public:
    enum class Request : quint32 { Add = 0, Modify = 1, Delete = 2 };

    virtual ~NotifyIconShell() = default;
    // The notify-icon call; its result is for the curious, the program never asks.
    virtual bool notify(Request request, const NotifyIconRecord &record) = 0;
    // The handle that stands for an icon picture in a record.
    virtual quint32 iconHandle(const QIcon &icon) = 0;
    // Whether a notification area is there to show an icon now.
    virtual bool isAvailable() const = 0;
};
