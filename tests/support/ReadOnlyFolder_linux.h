// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFile>
#include <QString>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Makes a folder unwritable for this thread, also when the tests run as root:
// the folder loses its write bits and the thread its right to override them.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(QString path) : m_path(std::move(path))
    {
        m_permissions = QFile::permissions(m_path);
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser |
                                          QFile::ExeUser);
        setOverride(false);
    }
    ~ReadOnlyFolder()
    {
        setOverride(true);
        QFile::setPermissions(m_path, m_permissions);
    }

private:
    static void setOverride(bool on)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        if (syscall(SYS_capget, &header, data) != 0)
            return;
        const quint32 bit = 1u << CAP_DAC_OVERRIDE;
        if (on)
            data[0].effective |= data[0].permitted & bit;
        else
            data[0].effective &= ~bit;
        syscall(SYS_capset, &header, data);
    }

    QString m_path;
    QFile::Permissions m_permissions;
};
