// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/wayland/WaylandConnection.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <wayland-client.h>

#include <poll.h>

namespace
{
void syncDone(void *data, wl_callback *, quint32)
{
    *static_cast<bool *>(data) = true;
}
const wl_callback_listener syncListener = {.done = syncDone};
} // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::open(GlobalHandler onGlobal)
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return nullptr;
    wl_display *display = wl_display_connect(nullptr);
    if (display == nullptr)
        return nullptr;
    return std::unique_ptr<WaylandConnection>(new WaylandConnection(display, std::move(onGlobal)));
}

WaylandConnection::WaylandConnection(wl_display *display, GlobalHandler onGlobal)
    : m_display(display), m_onGlobal(std::move(onGlobal))
{
    static const wl_registry_listener listener = {.global = &WaylandConnection::handleGlobal,
                                                  .global_remove =
                                                      &WaylandConnection::handleGlobalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);
    m_answer = wl_display_sync(m_display);
    wl_callback_add_listener(m_answer, &syncListener, &m_answered);
    flush();
    m_notifier = new QSocketNotifier(wl_display_get_fd(m_display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        readAvailable(0);
        dispatch();
    });
    if (auto *dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &WaylandConnection::flush);
}

WaylandConnection::~WaylandConnection()
{
    if (m_answer != nullptr)
        wl_callback_destroy(m_answer);
    if (m_registry != nullptr)
        wl_registry_destroy(m_registry);
    wl_display_disconnect(m_display);
}

bool WaylandConnection::isAlive() const
{
    return wl_display_get_error(m_display) == 0;
}

void WaylandConnection::handleGlobal(void *data, wl_registry *registry, quint32 name,
                                     const char *interface, quint32 version)
{
    auto *self = static_cast<WaylandConnection *>(data);
    if (self->m_onGlobal)
        self->m_onGlobal(registry, name, interface, version);
}

void WaylandConnection::handleGlobalRemove(void *, wl_registry *, quint32) {}

void WaylandConnection::flush()
{
    if (isAlive())
        wl_display_flush(m_display);
}

void WaylandConnection::dispatch()
{
    if (isAlive())
        wl_display_dispatch_pending(m_display);
    else if (m_notifier != nullptr)
        m_notifier->setEnabled(false); // a dead socket would wake the loop for ever
}

// Reads what the socket holds, waiting at most `timeoutMs` for it; the
// events are queued for dispatch().
bool WaylandConnection::readAvailable(int timeoutMs)
{
    if (!isAlive())
        return false;
    while (wl_display_prepare_read(m_display) != 0)
        wl_display_dispatch_pending(m_display);
    wl_display_flush(m_display);
    pollfd socket{wl_display_get_fd(m_display), POLLIN, 0};
    if (::poll(&socket, 1, timeoutMs) <= 0) {
        wl_display_cancel_read(m_display);
        return false;
    }
    return wl_display_read_events(m_display) == 0;
}

void WaylandConnection::pump()
{
    readAvailable(0);
    dispatch();
    flush();
}

// Reads and handles events until `done` is set, or the deadline.
bool WaylandConnection::waitFor(const bool &done, Deadline deadline)
{
    dispatch();
    while (!done && isAlive()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        readAvailable(static_cast<int>(left.count()));
        dispatch();
    }
    return done;
}

bool WaylandConnection::awaitAnswer(Deadline deadline)
{
    return waitFor(m_answered, deadline);
}

bool WaylandConnection::syncUntil(Deadline deadline)
{
    if (!isAlive())
        return false;
    bool done = false;
    wl_callback *callback = wl_display_sync(m_display);
    wl_callback_add_listener(callback, &syncListener, &done);
    waitFor(done, deadline);
    wl_callback_destroy(callback);
    return done;
}
