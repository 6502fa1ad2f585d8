// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/tray/NotifyIconShell.h"

#include "platform/linux/tray/NotificationBalloon.h"
#include "platform/linux/tray/WindowProcedure.h"

#include "common/AfterFirstShow.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace
{
using R = NotifyIconRecord;

// What the shell would send for each activation: Qt reports the press, so a
// press is the down and up pair of that button.
std::vector<qintptr> messagesFor(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {LeftDown, LeftUp};
    case QSystemTrayIcon::Context:
        return {RightDown, RightUp};
    case QSystemTrayIcon::DoubleClick:
        return {LeftDoubleClick};
    default: // the middle button means nothing here
        return {};
    }
}

qintptr messageFor(NotificationBalloon::End how)
{
    switch (how) {
    case NotificationBalloon::End::Clicked:
        return BalloonClicked;
    case NotificationBalloon::End::TimedOut:
        return BalloonTimedOut;
    case NotificationBalloon::End::Closed:
        break;
    }
    return BalloonHidden;
}
} // namespace

QtNotifyIconShell::QtNotifyIconShell(LinuxWindowProcedures &windows) : m_windows(windows)
{
    QObject::connect(&m_itemHosts, &SniHostWatch::watcherAnswers, &m_context,
                     [this] { makeIconsDue(); });
}

QtNotifyIconShell::~QtNotifyIconShell()
{
    for (auto &[key, shown] : m_shown)
        delete shown.icon;
}

bool QtNotifyIconShell::notify(Request request, const NotifyIconRecord &record)
{
    if (record.number(R::cbSize) != R::size)
        return false;
    const Key key{record.number(R::hWnd), record.number(R::uID)};
    auto found = m_shown.find(key);
    switch (request) {
    case Request::Add:
        return found == m_shown.end() && add(key, record);
    case Request::Modify:
        if (found == m_shown.end())
            return false;
        modify(key, found->second, record);
        return true;
    case Request::Delete:
        if (found == m_shown.end())
            return false;
        // An icon's balloon goes with it, and the shell says so.
        if (const auto balloon = m_balloons.find(key); balloon != m_balloons.end())
            balloon->second->close();
        if (found->second.balloonAsked)
            report(key, {BalloonHidden});
        found = m_shown.find(key);
        if (found == m_shown.end())
            return true;
        // It may be the icon whose signal is being handled right now.
        if (QSystemTrayIcon *icon = found->second.icon) {
            icon->hide();
            icon->deleteLater();
        }
        m_shown.erase(found);
        return true;
    }
    return false;
}

// Qt asks the session bus how to show the icon when the icon is made, so it
// is made once the window is up, and what came for it meanwhile is done then.
bool QtNotifyIconShell::add(const Key &key, const NotifyIconRecord &record)
{
    m_balloons.erase(key); // an earlier icon's late news is not this one's
    Shown &shown = m_shown[key];
    shown.serial = ++m_serial;
    shown.waiting.push_back(record);
    if (record.number(R::uFlags) & R::Message)
        shown.callbackMessage = record.number(R::uCallbackMessage);
    afterFirstShow(&m_context, [this, key, serial = shown.serial] { makeIcon(key, serial); });
    return true;
}

void QtNotifyIconShell::makeIcon(const Key &key, quint64 serial)
{
    const auto found = m_shown.find(key);
    if (found == m_shown.end() || found->second.serial != serial)
        return; // taken down before it was made
    found->second.due = true;
    NotificationBalloon::wanted(); // asked before Qt first chooses how to show its icons
    if (!iconsAreItems() && m_itemHosts.watcherSilent())
        return; // Qt would wait on the watcher too; made once it answers
    auto *icon = new QSystemTrayIcon;
    found->second.icon = icon;
    QObject::connect(icon, &QSystemTrayIcon::activated, icon,
                     [this, key](QSystemTrayIcon::ActivationReason reason) {
                         report(key, messagesFor(reason));
                     });
    QObject::connect(icon, &QSystemTrayIcon::messageClicked, icon,
                     [this, key] { report(key, {BalloonClicked}); });
    const std::vector<NotifyIconRecord> waiting = std::exchange(found->second.waiting, {});
    for (std::size_t index = 0; index < waiting.size(); ++index) {
        // A balloon asked for may hand out events, in which the icon may go.
        const auto shown = m_shown.find(key);
        if (shown == m_shown.end() || shown->second.icon != icon)
            return;
        modify(key, shown->second, waiting[index]);
        if (index == 0)
            icon->show();
    }
}

void QtNotifyIconShell::makeIconsDue()
{
    std::vector<std::pair<Key, quint64>> due;
    for (const auto &[key, shown] : m_shown)
        if (shown.due && !shown.icon)
            due.emplace_back(key, shown.serial);
    for (const auto &[key, serial] : due)
        makeIcon(key, serial);
}

void QtNotifyIconShell::modify(const Key &key, Shown &shown, const NotifyIconRecord &record)
{
    if (!shown.icon) {
        shown.waiting.push_back(record);
        return;
    }
    const quint32 flags = record.number(R::uFlags);
    if (flags & R::Icon)
        shown.icon->setIcon(m_icons.value(record.number(R::hIcon)));
    if (flags & R::Tip)
        shown.icon->setToolTip(record.text(R::szTip, R::tipSize));
    if (flags & R::Info)
        showBalloon(key, shown, record);
}

void QtNotifyIconShell::showBalloon(const Key &key, Shown &shown, const NotifyIconRecord &record)
{
    const QString title = record.text(R::szInfoTitle, R::infoTitleSize);
    const QString text = record.text(R::szInfo, R::infoSize);
    const auto milliseconds = static_cast<int>(
        std::min<quint32>(record.number(R::uTimeout), std::numeric_limits<int>::max()));
    // An empty title and text take the balloon down.
    shown.balloonAsked = !title.isEmpty() || !text.isEmpty();
    if (NotificationBalloon *balloon = notificationBalloon(key)) {
        if (shown.balloonAsked)
            balloon->show(title, text, milliseconds);
        else
            balloon->close();
    } else { // Qt's own balloon, which empty texts hide without showing anything
        shown.icon->showMessage(title, text, QSystemTrayIcon::NoIcon, milliseconds);
    }
}

// The icon's balloon as a notification of our own, made on first use; none
// where Qt's balloons are its own windows.
NotificationBalloon *QtNotifyIconShell::notificationBalloon(const Key &key)
{
    if (!NotificationBalloon::wanted())
        return nullptr;
    std::unique_ptr<NotificationBalloon> &balloon = m_balloons[key];
    if (!balloon) {
        balloon = std::make_unique<NotificationBalloon>();
        QObject::connect(
            balloon.get(), &NotificationBalloon::ended, balloon.get(),
            [this, key](NotificationBalloon::End how) { report(key, {messageFor(how)}); });
    }
    return balloon.get();
}

void QtNotifyIconShell::report(const Key &key, const std::vector<qintptr> &messages)
{
    for (const qintptr message : messages) {
        const auto found = m_shown.find(key);
        if (found == m_shown.end() || found->second.callbackMessage == 0)
            return;
        m_windows.send(key.first, found->second.callbackMessage, key.second, message);
    }
}

quint32 QtNotifyIconShell::iconHandle(const QIcon &icon)
{
    const auto known = m_handleOfIcon.constFind(icon.cacheKey());
    if (known != m_handleOfIcon.cend())
        return *known;
    const auto handle = static_cast<quint32>(m_icons.size() + 1);
    m_icons.insert(handle, icon);
    m_handleOfIcon.insert(icon.cacheKey(), handle);
    return handle;
}

bool QtNotifyIconShell::isAvailable() const
{
    NotificationBalloon::wanted(); // asked before Qt first chooses how to show its icons
    // Qt's own answer counts any tray, but the icons live only in the kind
    // it chose: with the items' host gone, an XEmbed tray shows none of them.
    if (iconsAreItems())
        return m_itemHosts.hostThere();
    if (m_itemHosts.watcherSilent()) { // no icon is made while it is
        m_itemHosts.askAgain();
        return false;
    }
    return QSystemTrayIcon::isSystemTrayAvailable();
}

// Asked before Qt first chooses, once for good, how to show icons: as
// StatusNotifierItems where a host is there then, else in an XEmbed tray.
// Qt does not choose while the watcher is silent, and neither does this.
bool QtNotifyIconShell::iconsAreItems() const
{
    if (!m_iconsAreItems) {
        const bool hostThere = m_itemHosts.start();
        if (m_itemHosts.watcherSilent())
            return false;
        m_iconsAreItems = hostThere;
    }
    return *m_iconsAreItems;
}

QSystemTrayIcon *QtNotifyIconShell::icon(quint32 window, quint32 id) const
{
    const auto found = m_shown.find({window, id});
    return found == m_shown.end() ? nullptr : found->second.icon.data();
}
