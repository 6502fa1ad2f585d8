// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowControl.h"
#include "platform/linux/ToplevelList.h"

#include <memory>

// Where the session's native windows (XWayland's among them) are learnt of
// and closed: a compositor's window-management protocol on a Wayland
// connection of our own, or GNOME Shell's extension on the session bus.
// A window it closes has closed once it is no longer listed.
class NativeWindowSource : public WindowControl
{
public:
    // Brings the list up to date, waiting at most until the deadline; false
    // when the session offers no list of its windows.
    virtual bool refresh(Deadline deadline) = 0;
    // Whether the session has said if it offers one.
    virtual bool hasAnswered() const = 0;
    // Whether windows say which process made them.
    virtual bool reportsPids() const = 0;
    virtual const ToplevelList &windows() const = 0;
};

// The source that the session offers, null where it offers none: GNOME
// Shell's on a GNOME session on Wayland, else the compositor's protocol on
// any other Wayland session.
std::unique_ptr<NativeWindowSource> connectNativeWindows();
