// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/NotifyIcon.h"
#include "platform/linux/tray/SniHostWatch.h"

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class LinuxWindowProcedures;
class NotificationBalloon;

// The notification area through QSystemTrayIcon (XEmbed or StatusNotifierItem).
// Records become icon calls; the icon's activations come back to the owner
// window as the record's callback message, in the shell's terms. Balloons are
// Qt's beside an XEmbed icon, desktop notifications of our own otherwise.
class QtNotifyIconShell : public NotifyIconShell
{
public:
    explicit QtNotifyIconShell(LinuxWindowProcedures &windows);
    ~QtNotifyIconShell() override;

    bool notify(Request request, const NotifyIconRecord &record) override;
    quint32 iconHandle(const QIcon &icon) override;
    bool isAvailable() const override;

    // The icon shown for a window's icon ID; null when there is none.
    QSystemTrayIcon *icon(quint32 window, quint32 id) const;

private:
    struct Shown {
        QPointer<QSystemTrayIcon> icon;        // null until it is made
        std::vector<NotifyIconRecord> waiting; // for the icon until it is made
        quint64 serial = 0;                    // tells this add from a later one
        quint32 callbackMessage = 0;
        bool balloonAsked = false;
        bool due = false; // the window is up, so it is made as soon as it can be
    };
    using Key = std::pair<quint32, quint32>;

    bool add(const Key &key, const NotifyIconRecord &record);
    void makeIcon(const Key &key, quint64 serial);
    void makeIconsDue();
    bool iconsAreItems() const;
    void modify(const Key &key, Shown &shown, const NotifyIconRecord &record);
    void showBalloon(const Key &key, Shown &shown, const NotifyIconRecord &record);
    NotificationBalloon *notificationBalloon(const Key &key);
    void report(const Key &key, const std::vector<qintptr> &messages);

    LinuxWindowProcedures &m_windows;
    QObject m_context; // what waits for the window goes with the shell
    quint64 m_serial = 0;
    mutable SniHostWatch m_itemHosts;
    mutable std::optional<bool> m_iconsAreItems;
    std::map<Key, Shown> m_shown;
    // They outlive their icon, so that a take-down still waiting for the
    // balloon's number is carried out.
    std::map<Key, std::unique_ptr<NotificationBalloon>> m_balloons;
    QHash<quint32, QIcon> m_icons;
    QHash<qint64, quint32> m_handleOfIcon;
};
