// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

class QDBusMessage;
class QDBusServiceWatcher;

// Whether a StatusNotifierItem host is on the session bus, kept from the
// watcher's comings and goings and its hosts' signals, so that nobody waits
// on the bus for it but at the start, and then a second at most. (Qt's items
// register again by themselves with a watcher that comes back.)
class SniHostWatch : public QObject
{
    Q_OBJECT

public:
    explicit SniHostWatch(QObject *parent = nullptr);

    // Asks once, and waits for the answer; true when a host is there now.
    bool start();
    bool hostThere() const { return m_hostThere; }
    // The watcher left the last question unanswered. Qt asks it the same,
    // without a bound, before it shows an icon, so none should be made.
    bool watcherSilent() const { return m_silent; }
    // Asks again, without waiting for the answer.
    void askAgain() { askWhetherHostThere(); }

signals:
    // A watcher that was silent has answered.
    void watcherAnswers();

private slots:
    void watcherCame();
    void watcherGone();
    void hostsChanged();

private:
    void askWhetherHostThere();
    void take(bool answered, const QDBusMessage &host);

    QDBusServiceWatcher *m_watcher = nullptr;
    bool m_hostThere = false;
    bool m_silent = false;
    int m_question = 0; // only the latest answer counts
};
