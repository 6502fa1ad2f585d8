// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/tray/NotificationBalloon.h"

#include "platform/linux/BusAnswer.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include <utility>

namespace
{
const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString trayWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
enum CloseReason : uint { Expired = 1, DismissedByUser = 2 };

QDBusMessage notificationsCall(const QString &method, const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, service, method);
    call.setArguments(arguments);
    return call;
}

// The bus itself, asked on the window's thread.
QDBusMessage askBus(const QString &method, const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, busAnswerMilliseconds);
}

void closeNotification(uint id)
{
    QDBusConnection::sessionBus().send(
        notificationsCall(QStringLiteral("CloseNotification"), {QVariant(id)}));
}
} // namespace

bool NotificationBalloon::wanted()
{
    // Qt shows its icons as StatusNotifierItems where it finds a watcher with a
    // host; a watcher alone is enough here, so that whenever Qt's balloons are
    // notifications, these are used instead.
    static const bool answer = [] {
        const auto truth = [](const QDBusMessage &reply) {
            return !reply.arguments().isEmpty() && reply.arguments().constFirst().toBool();
        };
        if (!truth(askBus(QStringLiteral("NameHasOwner"), {trayWatcher})))
            return false;
        const QDBusMessage activatable = askBus(QStringLiteral("ListActivatableNames"), {});
        return truth(askBus(QStringLiteral("NameHasOwner"), {service})) ||
               (!activatable.arguments().isEmpty() &&
                activatable.arguments().constFirst().toStringList().contains(service));
    }();
    return answer;
}

NotificationBalloon::NotificationBalloon(QObject *parent) : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(service, path, service, QStringLiteral("NotificationClosed"), this,
                SLOT(notificationClosed(uint, uint)));
    bus.connect(service, path, service, QStringLiteral("ActionInvoked"), this,
                SLOT(actionInvoked(uint, QString)));
}

NotificationBalloon::~NotificationBalloon()
{
    if (m_id != 0)
        closeNotification(m_id);
}

void NotificationBalloon::show(const QString &title, const QString &text, int milliseconds)
{
    const Balloon balloon{title, text, milliseconds};
    if (m_posting) { // it replaces the one on its way once that has its number
        m_next = balloon;
        m_closeNext = false;
        return;
    }
    post(balloon);
}

void NotificationBalloon::close()
{
    if (m_posting) {
        m_next.reset();
        m_closeNext = true;
    } else if (m_id != 0) {
        // The daemon's word on it ends the balloon; a balloon posted before
        // that word comes is a new one, which the word must not end.
        m_closing = std::exchange(m_id, 0);
        closeNotification(m_closing);
    }
}

void NotificationBalloon::post(const Balloon &balloon)
{
    // Neither icon nor actions; it replaces the balloon in sight, if any.
    const QDBusMessage notify = notificationsCall(
        QStringLiteral("Notify"), {QCoreApplication::applicationName(), QVariant(m_id), QString(),
                                   balloon.title, balloon.text, QStringList(), QVariantMap(),
                                   balloon.milliseconds > 0 ? balloon.milliseconds : -1});
    m_posting = true;
    auto *reply =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<uint> id = *call;
        posted(id.isError() ? std::nullopt : std::optional<uint>(id.value()));
    });
}

void NotificationBalloon::posted(std::optional<uint> id)
{
    m_posting = false;
    if (id)
        m_id = *id;
    if (m_next)
        post(*std::exchange(m_next, std::nullopt));
    else if (std::exchange(m_closeNext, false))
        close();
}

void NotificationBalloon::notificationClosed(uint id, uint reason)
{
    if (id != 0 && id == m_closing)
        m_closing = 0;
    else if (id != 0 && id == m_id)
        m_id = 0;
    else
        return; // another program's, or one replaced
    // A user dismisses a notification by clicking it, in the daemons we know.
    emit ended(reason == Expired           ? End::TimedOut
               : reason == DismissedByUser ? End::Clicked
                                           : End::Closed);
}

void NotificationBalloon::actionInvoked(uint id, const QString &)
{
    if (id != 0 && id == m_id)
        emit ended(End::Clicked);
}
