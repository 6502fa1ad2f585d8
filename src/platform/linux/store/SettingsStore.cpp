// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SettingsStore.h"

#include "platform/linux/store/StoreFile.h"
#include "platform/linux/store/StoreText.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace
{
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

    Read value(const QString &section, const QString &key) const override
    {
        const StoreBytes read = readStoreFile(m_path);
        if (!read.problem.isEmpty())
            return {std::nullopt, read.problem};
        return {StoreText(read.bytes).value(section, key), {}};
    }

    QString setValue(const QString &section, const QString &key, const QString &text) override;

    QString location() const override { return m_path; }

private:
    QString folder() const { return QFileInfo(m_path).absolutePath(); }

    QString m_path;
};

QString IniFileStore::setValue(const QString &section, const QString &key, const QString &text)
{
    if (!QDir().mkpath(folder()))
        return QStringLiteral("its folder %1 could not be made").arg(folder());
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.tryLock(lockWaitMs);
    // Dotfile managers link the store to a file kept elsewhere in the home.
    const StoreFileSave file(m_path, {QDir::homePath(), folder()});
    if (!file.problem().isEmpty())
        return file.problem();
    // A store that cannot be read is never replaced by one holding our section alone.
    const StoreBytes read = file.read();
    if (!read.problem.isEmpty())
        return read.problem;
    const QByteArray changed = StoreText(read.bytes).withValue(section, key, text);
    if (changed == read.bytes && file.exists())
        return {};
    return file.replace(changed);
}
} // namespace

std::unique_ptr<SettingsStore> openSettingsStore(const QString &applicationName)
{
    return std::make_unique<IniFileStore>(applicationName);
}
