#pragma once

#include <QString>

#include <memory>
#include <optional>

// The platform's per-user store of one application's settings: texts by
// section and key, read from and written to the store on every call.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // None when the key is absent or the store cannot be read.
    virtual std::optional<QString> value(const QString &section, const QString &key) const = 0;

    // False when the store could not be written; it then keeps what it held.
    virtual bool setValue(const QString &section, const QString &key, const QString &text) = 0;

    // Where the store is, as the user would look for it.
    virtual QString location() const = 0;
};

std::unique_ptr<SettingsStore> openSettingsStore(const QString &applicationName);
