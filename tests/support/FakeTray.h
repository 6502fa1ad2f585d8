// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/NotifyIcon.h"
#include "platform/WindowProcedure.h"

#include <QHash>
#include <QWidget>

#include <vector>

// Records every notify-icon request instead of showing anything.
class FakeNotifyIconShell : public NotifyIconShell
{
public:
    struct Call {
        Request request;
        NotifyIconRecord record;
    };
    bool notify(Request request, const NotifyIconRecord &record) override
    {
        calls.push_back({request, record});
        return true;
    }
    quint32 iconHandle(const QIcon &icon) override
    {
        return static_cast<quint32>(icon.cacheKey() & 0xffff) | 0x10000;
    }
    bool isAvailable() const override { return available; }

    std::vector<Call> calls;
    bool available = true;
};

// Window procedures and user data of numbered windows, messages sent by hand.
class FakeWindowProcedures : public WindowProcedureHook
{
public:
    WindowHandle windowOf(QWidget *) override { return 0x7001; }
    Procedure replace(WindowHandle window, Procedure procedure) override
    {
        ++replacements;
        return std::exchange(procedures[window], std::move(procedure));
    }
    void setUserData(WindowHandle window, quintptr data) override { userData_[window] = data; }
    quintptr userData(WindowHandle window) const override { return userData_.value(window); }
    qintptr send(WindowHandle window, quint32 message, quintptr wParam, qintptr lParam)
    {
        const Procedure procedure = procedures.value(window);
        return procedure ? procedure(window, message, wParam, lParam) : 0;
    }

    QHash<WindowHandle, Procedure> procedures;
    QHash<WindowHandle, quintptr> userData_;
    int replacements = 0;
};
