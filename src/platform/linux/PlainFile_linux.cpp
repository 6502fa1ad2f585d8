// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PlainFile.h"

#include "platform/linux/FileDescriptor_linux.h"

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

PlainFileBytes readPlainFile(const QString &path, qint64 mostBytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    // Looked at before the open: opening a device may already do something.
    if (::stat(name.constData(), &status) != 0)
        return failed(errno);
    if (!S_ISREG(status.st_mode))
        return notPlain();
    // Should a FIFO take the file's place meanwhile, the open does not wait
    // for a writer, and what it opened is looked at again.
    const FileDescriptor file(
        ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isValid() || ::fstat(file.get(), &status) != 0)
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
