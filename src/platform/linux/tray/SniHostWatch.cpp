// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/tray/SniHostWatch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace
{
const QString service = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString path = QStringLiteral("/StatusNotifierWatcher");

QDBusMessage hostQuestion()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get.setArguments({service, QStringLiteral("IsStatusNotifierHostRegistered")});
    // Asks the watcher that runs; one the bus could start would be waited on.
    get.setAutoStartService(false);
    return get;
}

bool hostThereIn(const QDBusMessage &reply)
{
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}
} // namespace

SniHostWatch::SniHostWatch(QObject *parent) : QObject(parent) {}

bool SniHostWatch::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (m_watcher || !bus.isConnected())
        return m_hostThere;
    m_watcher = new QDBusServiceWatcher(service, bus,
                                        QDBusServiceWatcher::WatchForRegistration |
                                            QDBusServiceWatcher::WatchForUnregistration,
                                        this);
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this, &SniHostWatch::watcherCame);
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, &SniHostWatch::watcherGone);
    for (const char *signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus.connect(service, path, service, QString::fromLatin1(signal), this,
                    SLOT(hostsChanged()));
    m_hostThere = hostThereIn(bus.call(hostQuestion()));
    return m_hostThere;
}

void SniHostWatch::watcherCame()
{
    askWhetherHostThere();
}

void SniHostWatch::watcherGone()
{
    ++m_question;
    m_hostThere = false;
}

void SniHostWatch::hostsChanged()
{
    askWhetherHostThere();
}

void SniHostWatch::askWhetherHostThere()
{
    const int question = ++m_question;
    auto *call =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(hostQuestion()), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, question](QDBusPendingCallWatcher *answered) {
                answered->deleteLater();
                if (question == m_question)
                    m_hostThere = hostThereIn(answered->reply());
            });
}
