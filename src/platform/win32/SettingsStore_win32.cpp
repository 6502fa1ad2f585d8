#include "platform/SettingsStore.h"

// Where earlier installations of the program kept their values.
std::unique_ptr<QSettings> openSettingsStore(const QString &applicationName)
{
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
            applicationName,
        QSettings::NativeFormat);
}
