// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/OwnProgram.h"
#include "platform/WindowControl.h"
#include "platform/WindowWalk.h"
#include "platform/linux/NativeWindowSource.h"
#include "platform/linux/WalkOrder.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// Which windows the task pass sees and closes: the session's native ones
// (XWayland's among them) where it offers a list of them, else X11's.
// Decided at the first walk that gets an answer, then kept, so that a handle
// of one kind never reaches the other.
class SessionWindows
{
public:
    // What tells our own windows apart where the compositor gives no PIDs.
    struct OwnWindows {
        std::function<std::vector<QString>()> titles;
        std::vector<QString> appIds;
    };

    SessionWindows(std::unique_ptr<WindowWalk> x11Walk, std::unique_ptr<WindowControl> x11Control,
                   std::unique_ptr<NativeWindowSource> native, OwnWindows own);

    // The native windows, when they are the ones in use; refreshed first.
    bool useNative(NativeWindowSource::Deadline deadline);
    bool isNative() const { return m_choice == Choice::Native; }
    bool isDecided() const { return m_choice != Choice::Undecided; }
    NativeWindowSource &native() { return *m_native; }
    // What closes the windows in use.
    WindowControl &control() { return isNative() ? *m_native : *m_x11Control; }
    WindowWalk &x11Walk() { return *m_x11Walk; }
    // Tells our own native windows, for one walk.
    OwnProgram ownWindows() const;

private:
    enum class Choice { Undecided, X11, Native };

    std::unique_ptr<WindowWalk> m_x11Walk;
    std::unique_ptr<WindowControl> m_x11Control;
    std::unique_ptr<NativeWindowSource> m_native;
    OwnWindows m_own;
    Choice m_choice;
};

// The walk over whichever windows the session uses. A native walk lists
// what the compositor had described when the walk began.
class SessionWindowWalk : public WindowWalk
{
public:
    explicit SessionWindowWalk(std::shared_ptr<SessionWindows> session);

    WindowHandle first(WindowHandle start) override;
    WindowHandle next(WindowHandle current) override;
    quint32 style(WindowHandle window) override;
    int titleLength(WindowHandle window) override;
    QString title(WindowHandle window, int bufferSize) override;
    bool walkedAll() const override { return m_session->isDecided(); }

private:
    std::shared_ptr<SessionWindows> m_session;
    bool m_native = false;
    WalkOrder m_order;
    std::vector<QString> m_titles; // by index in the walk

    const QString *nativeTitle(WindowHandle window) const;
};

class SessionWindowControl : public WindowControl
{
public:
    explicit SessionWindowControl(std::shared_ptr<SessionWindows> session);

    void requestClose(WindowHandle window) override;
    void waitUntilClosed(const std::vector<WindowHandle> &windows, Deadline deadline) override;

private:
    std::shared_ptr<SessionWindows> m_session;
};
