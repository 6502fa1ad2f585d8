// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PlainFile.h"

#include "platform/linux/PlainFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
PlainFileBytes failed(int error)
{
    return {{}, QString::fromStdString(std::generic_category().message(error))};
}

PlainFileBytes notPlain()
{
    return {{}, QStringLiteral("it is not a plain file")};
}
} // namespace

OpenedPlainFile openPlainFile(const QByteArray &name)
{
    struct stat status;
    if (::stat(name.constData(), &status) != 0)
        return {FileDescriptor(), errno};
    if (!S_ISREG(status.st_mode))
        return {};
    FileDescriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    const int error = file.isValid() ? 0 : errno;
    return {std::move(file), error};
}

PlainFileBytes readPlainFile(const QString &path, qint64 mostBytes)
{
    const OpenedPlainFile opened = openPlainFile(QFile::encodeName(path));
    if (!opened.file.isValid())
        return opened.error ? failed(opened.error) : notPlain();
    const FileDescriptor &file = opened.file;
    // What the open found is looked at again: a FIFO may have taken the place.
    struct stat status;
    if (::fstat(file.get(), &status) != 0)
        return failed(errno);
    if (!S_ISREG(status.st_mode))
        return notPlain();
    QByteArray bytes;
    char chunk[16 * 1024];
    while (bytes.size() < mostBytes) {
        const ssize_t got =
            ::read(file.get(), chunk, std::min<qint64>(sizeof chunk, mostBytes - bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failed(errno);
        if (got == 0)
            break;
        bytes.append(chunk, got);
    }
    return {bytes, {}};
}
