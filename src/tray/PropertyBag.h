// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// The named values a host saves and restores with its form for a control.
class PropertyBag
{
public:
    virtual ~PropertyBag() = default;
    virtual QVariant ReadProperty(const QString &name, const QVariant &defaultValue) const = 0;
    virtual void WriteProperty(const QString &name, const QVariant &value) = 0;
};

// A bag kept in memory, as a form's stored data holds a control's values.
class MemoryPropertyBag : public PropertyBag
{
public:
    QVariant ReadProperty(const QString &name, const QVariant &defaultValue) const override
    {
        return values.value(name, defaultValue);
    }
    void WriteProperty(const QString &name, const QVariant &value) override
    {
        values.insert(name, value);
        written.append(name);
    }

    QVariantMap values;
    QStringList written; // in the order written
};
