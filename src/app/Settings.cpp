#include "app/Settings.h"

#include "common/Failure.h"
#include "platform/SettingsStore.h"

namespace
{
const QString applicationName = QStringLiteral("Quorbel");
const QString sectionName = QStringLiteral("Trelvanix");
} // namespace

QString readSetting(const QString &key, const QString &defaultValue)
{
    return openSettingsStore(applicationName)->value(sectionName, key).value_or(defaultValue);
}

void writeSetting(const QString &key, const QString &value)
{
    const auto store = openSettingsStore(applicationName);
    if (!store->setValue(sectionName, key, value))
        throw Failure(
            QStringLiteral("The settings could not be saved in %1").arg(store->location()));
}
