#include "platform/SettingsStore.h"

#include <QSettings>

namespace
{
// Where earlier installations of the program kept their values.
class RegistryStore : public SettingsStore
{
public:
    explicit RegistryStore(const QString &applicationName)
        : m_settings(QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
                         applicationName,
                     QSettings::NativeFormat)
    {
    }

    Read value(const QString &section, const QString &key) const override
    {
        const QVariant value = m_settings.value(section + QLatin1Char('/') + key);
        if (m_settings.status() != QSettings::NoError)
            return {std::nullopt, problem(m_settings.status())};
        return {value.isValid() ? std::optional(value.toString()) : std::nullopt, {}};
    }

    QString setValue(const QString &section, const QString &key, const QString &text) override
    {
        const QString path = section + QLatin1Char('/') + key;
        const QVariant previous = m_settings.value(path);
        m_settings.setValue(path, text);
        m_settings.sync();
        const QSettings::Status status = m_settings.status();
        if (status == QSettings::NoError)
            return {};
        // The value stays unsaved in this object; put the previous one back so
        // that no later sync saves it after the failure was reported.
        if (previous.isValid())
            m_settings.setValue(path, previous);
        else
            m_settings.remove(path);
        return problem(status);
    }

    QString location() const override { return m_settings.fileName(); }

private:
    static QString problem(QSettings::Status status)
    {
        return status == QSettings::AccessError ? QStringLiteral("access was denied")
                                                : QStringLiteral("its values are not in order");
    }

    QSettings m_settings;
};
} // namespace

std::unique_ptr<SettingsStore> openSettingsStore(const QString &applicationName)
{
    return std::make_unique<RegistryStore>(applicationName);
}
