// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

struct wl_display;
struct wl_registry;
struct wl_callback;
class QSocketNotifier;

// A connection of our own to the Wayland compositor, beside the one the
// toolkit may hold. Its events are read as they come, on the event loop, and
// what was asked is sent before the loop sleeps; nothing here blocks for
// longer than the deadline it is given.
class WaylandConnection : public QObject
{
    Q_OBJECT
public:
    using Deadline = std::chrono::steady_clock::time_point;
    using GlobalHandler =
        std::function<void(wl_registry *, quint32 name, const char *interface, quint32 version)>;

    // Null when WAYLAND_DISPLAY names no compositor that answers.
    static std::unique_ptr<WaylandConnection> open(GlobalHandler onGlobal);
    ~WaylandConnection() override;

    wl_display *display() const { return m_display; }
    bool isAlive() const;
    // Whether the compositor has answered the connection, its globals told.
    // Some check the client first (KWin reads our executable): the answer is
    // taken on the event loop as it comes.
    bool hasAnswered() const { return m_answered; }
    // Waits for that answer until the deadline; false when it did not come.
    bool awaitAnswer(Deadline deadline);
    // Reads and handles every event the compositor sent before it answers a
    // sync request; false when the answer did not come by the deadline.
    bool syncUntil(Deadline deadline);
    // Handles what has arrived and sends what was asked, without waiting.
    void pump();

private:
    explicit WaylandConnection(wl_display *display, GlobalHandler onGlobal);
    bool readAvailable(int timeoutMs);
    bool waitFor(const bool &done, Deadline deadline);
    void dispatch();
    void flush();

    static void handleGlobal(void *data, wl_registry *registry, quint32 name, const char *interface,
                             quint32 version);
    static void handleGlobalRemove(void *data, wl_registry *registry, quint32 name);

    wl_display *m_display;
    wl_registry *m_registry = nullptr;
    wl_callback *m_answer = nullptr;
    bool m_answered = false;
    GlobalHandler m_onGlobal;
    QSocketNotifier *m_notifier = nullptr;
};
