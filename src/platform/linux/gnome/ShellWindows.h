// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/linux/NativeWindowSource.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QDBusMessage;

// GNOME Shell's windows, as the program's own shell extension offers them
// on the session bus; mutter has no protocol that would. Every call waits
// at most until the deadline it is given.
class GnomeShellWindows : public NativeWindowSource
{
public:
    // Null unless the session is GNOME's on Wayland.
    static std::unique_ptr<GnomeShellWindows> connect();

    bool refresh(Deadline deadline) override;
    bool hasAnswered() const override { return m_answered; }
    bool reportsPids() const override { return true; }
    const ToplevelList &windows() const override { return m_windows; }
    void requestClose(WindowHandle window) override;
    void waitUntilClosed(const std::vector<WindowHandle> &windows, Deadline deadline) override;

    // A window as the extension lists it: the shell's ID, never given twice.
    struct Listed {
        quint64 id = 0;
        qint32 pid = 0;
        QString title;
    };
    // The listing in a reply of the extension's List, top first; none when
    // the reply is of another shape.
    static std::optional<std::vector<Listed>> listingIn(const QDBusMessage &reply);
    // Makes the list what the listing says.
    void take(const std::vector<Listed> &topFirst);

private:
    GnomeShellWindows() = default;
    void notOffered(const QDBusMessage &reply);

    QObject m_context; // what waits for the first show goes with this
    bool m_shown = false;
    bool m_waitingForShow = false;
    ToplevelList m_windows;
    std::optional<quint64> m_changes; // as of the listing taken last
    bool m_answered = false;
    bool m_offered = false;
};
