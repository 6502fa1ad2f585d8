// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/store/StoreFile.h"

#include "platform/linux/PlainFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace
{
// Far beyond any store a person keeps, and small enough to be held in memory
// a few times over while a value is read or replaced.
constexpr qint64 largestFile = 256 * 1024 * 1024;

// Beyond any chain of links a dotfile manager makes; a loop of links ends here.
constexpr int mostLinks = 8;

// Deeper than any path the kernel resolves.
constexpr int deepestFolder = PATH_MAX / 2;

QString reason(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

QString shown(const QByteArray &path)
{
    return QFile::decodeName(path);
}

bool sameFile(const struct stat &one, const struct stat &other)
{
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

StoreBytes readWhole(int file)
{
    struct stat status;
    if (fstat(file, &status) != 0)
        return {{}, reason(errno)};
    if (!S_ISREG(status.st_mode)) // a FIFO or a device might never end
        return {{}, QStringLiteral("it is not a plain file")};
    const QString tooLarge =
        QStringLiteral("it is larger than %1 MiB").arg(largestFile / (1024 * 1024));
    if (status.st_size > largestFile)
        return {{}, tooLarge};
    QByteArray bytes;
    bytes.reserve(status.st_size);
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = pread(file, chunk, sizeof chunk, bytes.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {{}, reason(errno)};
        if (got == 0)
            return {bytes, {}};
        if (bytes.size() + got > largestFile) // it grew meanwhile
            return {{}, tooLarge};
        bytes.append(chunk, got);
    }
}

// The end of a name's links: a folder and a name within it that is no link.
struct Hop {
    FileDescriptor folder;
    QByteArray folderPath;
    QByteArray name;
    std::optional<struct stat> file; // none when nothing is there
    bool linked = false;
    QString subject = QStringLiteral("it"); // the file, as a message names it
    QString problem;
};

// Opens the folder that holds `path` and looks at its last name without
// following it. False when nothing is there, with the problem that makes.
bool lookAt(Hop &hop, const QByteArray &path, struct stat &status)
{
    const qsizetype slash = path.lastIndexOf('/');
    hop.folderPath = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.first(slash);
    hop.name = path.sliced(slash + 1);
    hop.folder = FileDescriptor(open(hop.folderPath.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (hop.folder.isValid() &&
        fstatat(hop.folder.get(), hop.name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0)
        return true;
    if (errno != ENOENT)
        hop.problem = reason(errno);
    else if (hop.linked)
        hop.problem = hop.subject + QStringLiteral(" does not exist");
    else if (!hop.folder.isValid())
        hop.problem = QStringLiteral("the folder %1 does not exist").arg(shown(hop.folderPath));
    return false;
}

// Follows links of the running user only, which the kernel's own following
// cannot be told to do.
Hop follow(QByteArray path)
{
    Hop hop;
    for (int links = 0;; ++links) {
        struct stat status;
        if (!lookAt(hop, path, status))
            return hop;
        if (!S_ISLNK(status.st_mode)) {
            hop.file = status;
            return hop;
        }
        if (status.st_uid != geteuid()) {
            hop.problem = QStringLiteral("the link %1 belongs to another user").arg(shown(path));
            return hop;
        }
        if (links == mostLinks) {
            hop.problem = QStringLiteral("it leads through too many links");
            return hop;
        }
        char text[PATH_MAX];
        const ssize_t length =
            readlinkat(hop.folder.get(), hop.name.constData(), text, sizeof text);
        if (length < 0 || length == sizeof text) {
            hop.problem = reason(length < 0 ? errno : ENAMETOOLONG);
            return hop;
        }
        const QByteArray target(text, length);
        path = target.startsWith('/') ? target : hop.folderPath + '/' + target;
        hop.linked = true;
        hop.subject = QStringLiteral("it is a link to %1, which").arg(shown(path));
    }
}

// The folders a link may lead into; never the file system's root, which would
// hold the system's files too.
std::vector<struct stat> linkRoots(const QStringList &paths)
{
    struct stat top;
    const bool haveTop = stat("/", &top) == 0;
    std::vector<struct stat> roots;
    for (const QString &path : paths) {
        struct stat status;
        if (stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
            !(haveTop && sameFile(status, top)))
            roots.push_back(status);
    }
    return roots;
}

// Whether `folder` is one of `roots` or lies below one. It goes up through
// "..", so that no name on the way can mislead it.
bool liesWithin(int folder, const std::vector<struct stat> &roots)
{
    FileDescriptor current(fcntl(folder, F_DUPFD_CLOEXEC, 0));
    for (int depth = 0; current.isValid() && depth < deepestFolder; ++depth) {
        struct stat here;
        if (fstat(current.get(), &here) != 0)
            return false;
        if (std::any_of(roots.begin(), roots.end(),
                        [&](const struct stat &root) { return sameFile(here, root); }))
            return true;
        FileDescriptor parent(openat(current.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat above;
        if (!parent.isValid() || fstat(parent.get(), &above) != 0 || sameFile(above, here))
            return false;
        current = std::move(parent);
    }
    return false;
}

QString checkFolder(const Hop &hop, const QStringList &linkFolders)
{
    struct stat folder;
    if (fstat(hop.folder.get(), &folder) != 0)
        return reason(errno);
    if (folder.st_uid != geteuid())
        return QStringLiteral("the folder %1 belongs to another user").arg(shown(hop.folderPath));
    if (hop.linked && !liesWithin(hop.folder.get(), linkRoots(linkFolders)))
        return hop.subject + QStringLiteral(" lies outside your home folder");
    return {};
}

QString checkFile(const Hop &hop)
{
    if (!S_ISREG(hop.file->st_mode))
        return hop.subject + QStringLiteral(" is not a plain file");
    if (hop.file->st_uid != geteuid())
        return hop.subject + QStringLiteral(" belongs to another user");
    if (faccessat(hop.folder.get(), hop.name.constData(), W_OK, AT_EACCESS) != 0)
        return hop.subject + QStringLiteral(" cannot be written: ") + reason(errno);
    return {};
}

// A new file beside the one it is to replace; removed unless it took its place.
class Replacement
{
public:
    explicit Replacement(int folder) : m_folder(folder) {}
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;
    ~Replacement()
    {
        if (m_file.isValid() && !m_placed)
            unlinkat(m_folder, m_name.constData(), 0);
    }

    bool create(const QByteArray &beside, mode_t mode)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_name = beside + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
            m_file =
                FileDescriptor(openat(m_folder, m_name.constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
            if (m_file.isValid() || errno != EEXIST)
                break;
        }
        return m_file.isValid();
    }

    bool write(const QByteArray &bytes) const
    {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t wrote = ::write(m_file.get(), bytes.constData() + done,
                                          std::min<qsizetype>(bytes.size() - done, 1 << 30));
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0) {
                errno = wrote < 0 ? errno : EIO;
                return false;
            }
            done += wrote;
        }
        return fsync(m_file.get()) == 0;
    }

    bool placeAs(const QByteArray &name)
    {
        m_placed = renameat(m_folder, m_name.constData(), m_folder, name.constData()) == 0;
        return m_placed;
    }

    int file() const { return m_file.get(); }

private:
    int m_folder;
    QByteArray m_name;
    FileDescriptor m_file;
    bool m_placed = false;
};
} // namespace

StoreBytes readStoreFile(const QString &path)
{
    const OpenedPlainFile opened = openPlainFile(QFile::encodeName(path));
    if (opened.file.isValid())
        return readWhole(opened.file.get());
    if (opened.error == 0)
        return {{}, QStringLiteral("it is not a plain file")};
    return opened.error == ENOENT ? StoreBytes() : StoreBytes{{}, reason(opened.error)};
}

StoreFileSave::StoreFileSave(const QString &path, const QStringList &linkFolders)
    : m_problem(find(path, linkFolders))
{
}

QString StoreFileSave::find(const QString &path, const QStringList &linkFolders)
{
    Hop hop = follow(QFile::encodeName(path));
    if (!hop.problem.isEmpty())
        return hop.problem;
    if (const QString problem = checkFolder(hop, linkFolders); !problem.isEmpty())
        return problem;
    if (hop.file) {
        if (const QString problem = checkFile(hop); !problem.isEmpty())
            return problem;
        FileDescriptor file(openat(hop.folder.get(), hop.name.constData(),
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat opened;
        if (!file.isValid() || fstat(file.get(), &opened) != 0)
            return reason(errno);
        if (!sameFile(opened, *hop.file))
            return QStringLiteral("it changed while it was being saved");
        m_file = std::move(file);
        m_stat = *hop.file;
    }
    m_folder = std::move(hop.folder);
    m_folderPath = hop.folderPath;
    m_name = hop.name;
    return {};
}

StoreBytes StoreFileSave::read() const
{
    return exists() ? readWhole(m_file.get()) : StoreBytes();
}

QString StoreFileSave::replace(const QByteArray &bytes) const
{
    Replacement copy(m_folder.get());
    const mode_t mode = exists() ? m_stat.st_mode & 0777 : 0666;
    if (!copy.create(m_name, mode) || (exists() && fchmod(copy.file(), mode) != 0) ||
        !copy.write(bytes)) {
        const int error = errno;
        return QStringLiteral("a new copy could not be written in %1: %2")
            .arg(shown(m_folderPath), reason(error));
    }
    if (!stillInPlace())
        return QStringLiteral("it changed while it was being saved");
    if (!copy.placeAs(m_name)) {
        const int error = errno;
        return QStringLiteral("the new copy could not take its place: %1").arg(reason(error));
    }
    return {};
}

// Whether the name still holds the file that was checked, or still nothing.
bool StoreFileSave::stillInPlace() const
{
    struct stat now;
    if (fstatat(m_folder.get(), m_name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT && !exists();
    return exists() && sameFile(now, m_stat);
}
