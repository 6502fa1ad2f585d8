// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The per-user store in the registry, where earlier installations of the
// program kept their values: a key per application, a subkey per section,
// text values. Read and written with the registry's own calls, so that a
// value typed in by hand reads back as typed.
#include "platform/SettingsStore.h"

#include "common/LeadingAt.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace
{
// As the store file on Linux: a larger value is not read into memory.
constexpr DWORD largestValueBytes = 256u << 20;

// Closes the key when it goes.
struct OpenKey {
    HKEY handle = nullptr;
    OpenKey() = default;
    OpenKey(const OpenKey &) = delete;
    OpenKey &operator=(const OpenKey &) = delete;
    ~OpenKey()
    {
        if (handle)
            RegCloseKey(handle);
    }
};

QString problem(LSTATUS status)
{
    return status == ERROR_ACCESS_DENIED ? QStringLiteral("access was denied")
                                         : QStringLiteral("the registry answered %1").arg(status);
}

class RegistryStore : public SettingsStore
{
public:
    explicit RegistryStore(const QString &applicationName)
        : m_key(QStringLiteral("Software\\VB and VBA Program Settings\\") + applicationName)
    {
    }

    Read value(const QString &section, const QString &key) const override
    {
        OpenKey opened;
        LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, sectionPath(section).c_str(), 0,
                                       KEY_QUERY_VALUE, &opened.handle);
        if (status == ERROR_FILE_NOT_FOUND)
            return {};
        if (status != ERROR_SUCCESS)
            return {std::nullopt, problem(status)};
        const std::wstring name = key.toStdWString();
        DWORD type = 0;
        DWORD bytes = 0;
        status = RegQueryValueExW(opened.handle, name.c_str(), nullptr, &type, nullptr, &bytes);
        if (status == ERROR_FILE_NOT_FOUND)
            return {};
        if (status != ERROR_SUCCESS)
            return {std::nullopt, problem(status)};
        if (bytes > largestValueBytes)
            return {std::nullopt,
                    QStringLiteral("the value of %1 is larger than 256 MiB").arg(key)};
        std::wstring stored(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(stored.size() * sizeof(wchar_t));
        status = RegQueryValueExW(opened.handle, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE *>(stored.data()), &bytes);
        if (status != ERROR_SUCCESS)
            return {std::nullopt, problem(status)};
        if (type == REG_DWORD && bytes == sizeof(DWORD)) { // a number typed into regedit
            DWORD number = 0;
            std::memcpy(&number, stored.data(), sizeof number);
            return {QString::number(number), {}};
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return {std::nullopt, QStringLiteral("the value of %1 is not text").arg(key)};
        // Text need not end with a NUL in the registry; it ends at the first.
        stored.resize(std::min<std::size_t>(bytes / sizeof(wchar_t), stored.find(L'\0')));
        return {withLeadingAtUndoubled(QString::fromStdWString(stored)), {}};
    }

    QString setValue(const QString &section, const QString &key, const QString &text) override
    {
        OpenKey opened;
        LSTATUS status =
            RegCreateKeyExW(HKEY_CURRENT_USER, sectionPath(section).c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &opened.handle, nullptr);
        if (status != ERROR_SUCCESS)
            return problem(status);
        const std::wstring stored = withLeadingAtDoubled(text).toStdWString();
        status = RegSetValueExW(opened.handle, key.toStdWString().c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE *>(stored.c_str()),
                                static_cast<DWORD>((stored.size() + 1) * sizeof(wchar_t)));
        return status == ERROR_SUCCESS ? QString() : problem(status);
    }

    QString location() const override { return QStringLiteral("HKEY_CURRENT_USER\\") + m_key; }

private:
    std::wstring sectionPath(const QString &section) const
    {
        return (m_key + QLatin1Char('\\') + section).toStdWString();
    }

    QString m_key;
};
} // namespace

std::unique_ptr<SettingsStore> openSettingsStore(const QString &applicationName)
{
    return std::make_unique<RegistryStore>(applicationName);
}
