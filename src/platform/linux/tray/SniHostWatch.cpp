// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/tray/SniHostWatch.h"

#include "platform/linux/BusAnswer.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include <utility>

namespace
{
const QString service = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString path = QStringLiteral("/StatusNotifierWatcher");

// Both are asked of the watcher that runs; one the bus could start would be
// waited on.
QDBusMessage hostQuestion()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get.setArguments({service, QStringLiteral("IsStatusNotifierHostRegistered")});
    get.setAutoStartService(false);
    return get;
}

// Qt reads the watcher's interface before it asks for its host.
QDBusMessage interfaceQuestion()
{
    QDBusMessage introspect = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Introspectable"),
        QStringLiteral("Introspect"));
    introspect.setAutoStartService(false);
    return introspect;
}

bool hostThereIn(const QDBusMessage &reply)
{
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

// Runs `then` with the answer to `question`, or with the error that says
// none came in time.
template <typename Then>
void whenAnswered(QObject *context, const QDBusMessage &question, Then then)
{
    auto *call = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(question, busAnswerMilliseconds), context);
    QObject::connect(call, &QDBusPendingCallWatcher::finished, context,
                     [then](QDBusPendingCallWatcher *answer) {
                         answer->deleteLater();
                         then(answer->reply());
                     });
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
    // Asked together, so that a silent watcher holds the window up for one
    // second, not two.
    QDBusPendingCall interface = bus.asyncCall(interfaceQuestion(), busAnswerMilliseconds);
    QDBusPendingCall host = bus.asyncCall(hostQuestion(), busAnswerMilliseconds);
    interface.waitForFinished();
    host.waitForFinished();
    take(answeredInTime(interface.reply()), host.reply());
    return m_hostThere;
}

void SniHostWatch::watcherCame()
{
    askWhetherHostThere();
}

void SniHostWatch::watcherGone()
{
    ++m_question;
    take(true, {});
}

void SniHostWatch::hostsChanged()
{
    askWhetherHostThere();
}

void SniHostWatch::askWhetherHostThere()
{
    const int question = ++m_question;
    whenAnswered(this, interfaceQuestion(), [this, question](const QDBusMessage &interface) {
        if (question != m_question)
            return;
        if (!answeredInTime(interface)) {
            take(false, interface);
            return;
        }
        whenAnswered(this, hostQuestion(), [this, question](const QDBusMessage &host) {
            if (question == m_question)
                take(true, host);
        });
    });
}

void SniHostWatch::take(bool interfaceAnswered, const QDBusMessage &host)
{
    const bool silent = !interfaceAnswered || !answeredInTime(host);
    m_hostThere = !silent && hostThereIn(host);
    if (std::exchange(m_silent, silent) && !silent)
        emit watcherAnswers();
}
