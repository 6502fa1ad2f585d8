// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/AnnouncedBus.h"

#include "platform/linux/BusAnswer.h"
#include "platform/linux/FileDescriptor.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
struct UnixSocket {
    QByteArray name;
    bool abstract = false;
};

// The address's one socket, or why it names none that may be joined. Its
// text is another program's: the reasons never quote it.
QString socketIn(const QByteArray &address, UnixSocket &socket)
{
    if (address.contains(';'))
        return QStringLiteral("it lists several addresses");
    if (!address.startsWith("unix:"))
        return QStringLiteral("it is not a plain socket");
    for (const QByteArray &pair : address.mid(5).split(',')) {
        const qsizetype equals = pair.indexOf('=');
        const QByteArray key = pair.left(equals);
        const QByteArray value = QByteArray::fromPercentEncoding(pair.mid(equals + 1));
        if (equals > 0 && key == "guid")
            continue;
        if (equals < 0 || (key != "path" && key != "abstract") || !socket.name.isEmpty() ||
            value.isEmpty() || value.contains('\0'))
            return QStringLiteral("it is not one plain socket");
        socket = {value, key == "abstract"};
    }
    if (socket.name.isEmpty())
        return QStringLiteral("it names no socket");
    if (socket.name.size() + 1 > qsizetype(sizeof(sockaddr_un::sun_path)))
        return QStringLiteral("its socket's name is too long");
    return {};
}

FileDescriptor connectedTo(const UnixSocket &socket)
{
    FileDescriptor connection(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    const std::size_t lead = socket.abstract ? 1 : 0; // an abstract name starts with a 0
    std::memcpy(where.sun_path + lead, socket.name.constData(), std::size_t(socket.name.size()));
    const auto length =
        socklen_t(offsetof(sockaddr_un, sun_path) + lead + std::size_t(socket.name.size()));
    if (!connection.isValid() ||
        ::connect(connection.get(), reinterpret_cast<const sockaddr *>(&where), length) != 0)
        return {};
    return connection;
}

// The bus's first line back to a greeting as the bus library sends it; empty
// when none came in time.
QByteArray answerToGreeting(int connection)
{
    const QByteArray greeting =
        QByteArray(1, '\0') + "AUTH EXTERNAL " + QByteArray::number(::getuid()).toHex() + "\r\n";
    if (::send(connection, greeting.constData(), std::size_t(greeting.size()), MSG_NOSIGNAL) !=
        greeting.size())
        return {};
    const QDeadlineTimer deadline(busAnswerMilliseconds);
    QByteArray answer;
    while (!answer.contains("\r\n") && answer.size() < 512) {
        pollfd readable{connection, POLLIN, 0};
        const int ready = ::poll(&readable, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        char bytes[512];
        const ssize_t got = ready > 0 ? ::recv(connection, bytes, sizeof bytes, 0) : -1;
        if (got <= 0)
            return {};
        answer.append(bytes, got);
    }
    return answer;
}

QString socketProblem(const UnixSocket &socket)
{
    struct stat status {
    };
    if (!socket.abstract && (::lstat(socket.name.constData(), &status) != 0 ||
                             !S_ISSOCK(status.st_mode) || status.st_uid != ::getuid()))
        return QStringLiteral("its socket is not one of the user's own");
    const FileDescriptor connection = connectedTo(socket);
    if (!connection.isValid())
        return QStringLiteral("its socket takes no connection");
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(connection.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
        peer.uid != ::getuid())
        return QStringLiteral("another user's process serves it");
    if (!answerToGreeting(connection.get()).startsWith("OK "))
        return QStringLiteral("it did not welcome the user within a second");
    return {};
}
} // namespace

QString whyNotJoin(const QByteArray &address)
{
    UnixSocket socket;
    if (QString problem = socketIn(address, socket); !problem.isEmpty())
        return problem;
    return socketProblem(socket);
}
