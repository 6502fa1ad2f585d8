#include "platform/SettingsStore.h"

// An INI file named after the application in the user's configuration folder.
std::unique_ptr<QSettings> openSettingsStore(const QString &applicationName)
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       applicationName);
}
