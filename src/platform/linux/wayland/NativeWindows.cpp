// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/wayland/NativeWindows.h"

#include "platform/linux/wayland/WaylandConnection.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace
{
constexpr auto closedPollInterval = std::chrono::milliseconds(5);
} // namespace

QByteArrayView protocolText(const char *text)
{
    return text == nullptr ? QByteArrayView() : QByteArrayView(text, qsizetype(std::strlen(text)));
}

std::unique_ptr<NativeWindows> NativeWindows::connect()
{
    std::unique_ptr<NativeWindows> native(new NativeWindows);
    native->m_connection = WaylandConnection::open(
        [self = native.get()](wl_registry *registry, quint32 name, const char *interface,
                              quint32 version) { self->bind(registry, name, interface, version); });
    if (!native->m_connection)
        return nullptr;
    return native;
}

NativeWindows::~NativeWindows() = default;

void NativeWindows::bind(wl_registry *registry, quint32 name, const char *interface,
                         quint32 version)
{
    if (m_protocol)
        return;
    if (std::strcmp(interface, "org_kde_plasma_window_management") == 0)
        m_protocol = bindKdeWindows(registry, name, version, m_windows);
    else if (std::strcmp(interface, "zwlr_foreign_toplevel_manager_v1") == 0)
        m_protocol = bindWlrToplevels(registry, name, version, m_windows);
}

bool NativeWindows::hasAnswered() const
{
    return m_connection->hasAnswered();
}

bool NativeWindows::refresh(Deadline deadline)
{
    // The answer brings the compositor's globals, and with them the protocol bound.
    if (!m_connection->awaitAnswer(deadline) || !m_protocol)
        return false;
    // A round can announce windows that the next one describes (KDE's
    // protocol has them asked for first).
    WindowHandle newest = 0;
    do
        newest = m_windows.newestId();
    while (m_connection->syncUntil(deadline) && m_windows.newestId() != newest);
    if (!m_connection->isAlive()) {
        // The compositor went away: what it last described is no longer there.
        m_protocol.reset();
        m_windows.clear();
    }
    return true;
}

void NativeWindows::requestClose(WindowHandle window)
{
    const auto key = m_windows.keyOf(window);
    if (key && m_protocol)
        m_protocol->close(*key);
    m_connection->pump();
}

void NativeWindows::waitUntilClosed(const std::vector<WindowHandle> &windows, Deadline deadline)
{
    const auto anyListed = [&] {
        return std::any_of(windows.begin(), windows.end(),
                           [&](WindowHandle window) { return m_windows.find(window) != nullptr; });
    };
    while (m_connection->isAlive()) {
        m_connection->syncUntil(deadline);
        if (!anyListed() || std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(closedPollInterval);
    }
}
