#include "app/Settings.h"

#include "common/Failure.h"
#include "platform/SettingsStore.h"

namespace
{
const QString applicationName = QStringLiteral("Quorbel");
const QString sectionName = QStringLiteral("Trelvanix");

std::unique_ptr<QSettings> openStore()
{
    auto store = openSettingsStore(applicationName);
    store->beginGroup(sectionName);
    return store;
}
} // namespace

QString readSetting(const QString &key, const QString &defaultValue)
{
    const auto store = openStore();
    const QVariant value = store->value(key);
    return value.isValid() ? value.toString() : defaultValue;
}

void writeSetting(const QString &key, const QString &value)
{
    const auto store = openStore();
    const QVariant previous = store->value(key);
    store->setValue(key, value);
    store->sync();
    if (store->status() == QSettings::NoError)
        return;
    // The value stays unsaved in this process's copy of the store; put the
    // previous one back so that a later write of another key cannot save it
    // behind the user's back after they were told it failed.
    if (previous.isValid())
        store->setValue(key, previous);
    else
        store->remove(key);
    throw Failure(QStringLiteral("The settings could not be saved in %1").arg(store->fileName()));
}
