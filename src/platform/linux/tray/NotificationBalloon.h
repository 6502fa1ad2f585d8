// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <optional>

// An icon's balloon as a desktop notification (org.freedesktop.Notifications)
// that keeps the number the daemon gave it, so that it can be taken down and
// its end reported. Where Qt's icon is a StatusNotifierItem, Qt posts its own
// balloons as notifications whose numbers it keeps to itself: an empty one
// asked of it to take a balloon down would only post another, one that never
// expires.
class NotificationBalloon : public QObject
{
    Q_OBJECT

public:
    enum class End { Clicked, TimedOut, Closed };

    // Whether balloons go this way. Asked once, before Qt makes the same
    // choice for its icons: a StatusNotifierItem watcher and a notification
    // daemon on the session bus.
    static bool wanted();

    explicit NotificationBalloon(QObject *parent = nullptr);
    ~NotificationBalloon() override;

    // Shows a balloon in place of the one in sight; with 0 ms the daemon picks
    // the time.
    void show(const QString &title, const QString &text, int milliseconds);
    // Takes the balloon down, also one whose number is still on its way.
    void close();

signals:
    void ended(NotificationBalloon::End how);

private slots:
    void notificationClosed(uint id, uint reason);
    void actionInvoked(uint id, const QString &action);

private:
    struct Balloon {
        QString title;
        QString text;
        int milliseconds = 0;
    };

    void post(const Balloon &balloon);
    void posted(std::optional<uint> id);

    uint m_id = 0;          // the balloon in sight, 0 for none
    uint m_closing = 0;     // the one asked to close, until the daemon says it did
    bool m_posting = false; // a post waits for its number
    // What was asked while a post waited: a balloon to show, or the take-down.
    std::optional<Balloon> m_next;
    bool m_closeNext = false;
};
