// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/linux/NativeWindowSource.h"

#include <memory>

class WaylandConnection;
struct wl_registry;

// One window-management protocol bound on our connection: it fills the list
// and carries close requests.
class ToplevelProtocol
{
public:
    virtual ~ToplevelProtocol() = default;
    virtual void close(ToplevelList::Key window) = 0;
    // Whether windows say which process made them.
    virtual bool reportsPids() const = 0;
};

// The compositor's native windows, kept current on a connection of our own
// through the window-management protocol it offers.
class NativeWindows : public NativeWindowSource
{
public:
    // Null without a Wayland session.
    static std::unique_ptr<NativeWindows> connect();
    ~NativeWindows() override;

    bool refresh(Deadline deadline) override;
    bool hasAnswered() const override;
    bool reportsPids() const override { return m_protocol && m_protocol->reportsPids(); }
    const ToplevelList &windows() const override { return m_windows; }
    void requestClose(WindowHandle window) override;
    void waitUntilClosed(const std::vector<WindowHandle> &windows, Deadline deadline) override;

private:
    NativeWindows() = default;
    void bind(wl_registry *registry, quint32 name, const char *interface, quint32 version);

    std::unique_ptr<WaylandConnection> m_connection;
    ToplevelList m_windows;
    std::unique_ptr<ToplevelProtocol> m_protocol; // goes before the connection closes
};

// A string as a protocol's event carries it; libwayland ends every string
// inside its message, at most 4 KiB on.
QByteArrayView protocolText(const char *text);

std::unique_ptr<ToplevelProtocol> bindWlrToplevels(wl_registry *registry, quint32 name,
                                                   quint32 version, ToplevelList &windows);
std::unique_ptr<ToplevelProtocol> bindKdeWindows(wl_registry *registry, quint32 name,
                                                 quint32 version, ToplevelList &windows);
