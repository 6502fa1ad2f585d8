// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowTypes.h"

#include <QString>

// A window's title is chosen by another program and may be any size: it is
// read bounded and kept to its first characters.
constexpr qsizetype titleCharacterLimit = 1024;

// The desktop's top-level windows in Z order, top first, walked first/next.
class WindowWalk
{
public:
    static constexpr quint32 styleVisible = 0x10000000;
    static constexpr quint32 styleBorder = 0x00800000;

    virtual ~WindowWalk() = default;
    // The topmost window of the level that `start` belongs to; 0 when none.
    virtual WindowHandle first(WindowHandle start) = 0;
    // The window below `current`; 0 at the end or when `current` has gone.
    virtual WindowHandle next(WindowHandle current) = 0;
    // The style bits (visible, border); 0 for a window that has gone.
    virtual quint32 style(WindowHandle window) = 0;
    // The title length in characters; 0 when untitled or gone.
    virtual int titleLength(WindowHandle window) = 0;
    // The title as a buffer of `bufferSize` characters holds it: at most
    // bufferSize - 1 characters and the closing NUL. Empty when gone.
    virtual QString title(WindowHandle window, int bufferSize) = 0;
    // False when the last walk could not yet list the session's windows as
    // the session keeps them (it lists X11's instead) and a walk once the
    // program's window is up will.
    virtual bool walkedAll() const { return true; }
};
