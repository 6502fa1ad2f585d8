#include "platform/SettingsStore.h"

#include "common/StoreText.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace
{
// Far beyond any kill list; a bigger file is not ours to read or rewrite.
constexpr qint64 largestFile = 64 * 1024 * 1024;

// QSettings waited for this lock without end; a lock file of a live process
// counted as stale only at 30 s old, so a save froze the window for 32 s.
// Saves are short: wait a moment, then save all the same, since the rename
// keeps the file whole and at worst a save racing ours is lost.
constexpr int lockWaitMs = 500;

// An INI file named after the application in the user's configuration
// folder, where QSettings kept it.
class IniFileStore : public SettingsStore
{
public:
    explicit IniFileStore(const QString &applicationName)
        : m_path(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QLatin1Char('/') + applicationName + QStringLiteral(".conf"))
    {
    }

    std::optional<QString> value(const QString &section, const QString &key) const override
    {
        const std::optional<QByteArray> bytes = read();
        return bytes ? StoreText(*bytes).value(section, key) : std::nullopt;
    }

    bool setValue(const QString &section, const QString &key, const QString &text) override;

    QString location() const override { return m_path; }

private:
    std::optional<QByteArray> read() const;

    QString m_path;
};

// Empty when there is no file yet, none when it cannot be read whole.
std::optional<QByteArray> IniFileStore::read() const
{
    const QFileInfo info(m_path);
    if (!info.exists())
        return QByteArray();
    if (!info.isFile()) // a FIFO or a device might never end
        return std::nullopt;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(largestFile + 1);
    if (bytes.size() > largestFile || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool IniFileStore::setValue(const QString &section, const QString &key, const QString &text)
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.tryLock(lockWaitMs);
    const std::optional<QByteArray> bytes = read();
    if (!bytes)
        return false;
    const QByteArray changed = StoreText(*bytes).withValue(section, key, text);
    if (changed == *bytes && QFileInfo::exists(m_path))
        return true;
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(changed) == changed.size() &&
           file.commit();
}
} // namespace

std::unique_ptr<SettingsStore> openSettingsStore(const QString &applicationName)
{
    return std::make_unique<IniFileStore>(applicationName);
}
