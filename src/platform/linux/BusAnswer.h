// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusError>
#include <QDBusMessage>

// How long the program's thread waits for any one answer on the session bus,
// from the greeting of one it may join on.
constexpr int busAnswerMilliseconds = 1000;

// Whether the other side answered, an error of its own included, rather than
// the bus's word that no answer came in time.
inline bool answeredInTime(const QDBusMessage &reply)
{
    const QString error = reply.errorName();
    return reply.type() != QDBusMessage::ErrorMessage ||
           (error != QDBusError::errorString(QDBusError::NoReply) &&
            error != QDBusError::errorString(QDBusError::Timeout) &&
            error != QDBusError::errorString(QDBusError::TimedOut));
}
