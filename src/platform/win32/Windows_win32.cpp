// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window walk and the window order on user32, in their ANSI form.
#undef UNICODE
#undef _UNICODE
#include <windows.h>

#include "platform/win32/Handles_win32.h"
#include "platform/win32/Services_win32.h"

#include <algorithm>
#include <vector>

namespace
{
class User32WindowWalk : public WindowWalk
{
public:
    WindowHandle first(WindowHandle start) override
    {
        return asHandle(GetWindow(asHwnd(start), GW_HWNDFIRST));
    }
    WindowHandle next(WindowHandle current) override
    {
        return asHandle(GetWindow(asHwnd(current), GW_HWNDNEXT));
    }
    quint32 style(WindowHandle window) override
    {
        return static_cast<quint32>(GetWindowLongA(asHwnd(window), GWL_STYLE));
    }
    int titleLength(WindowHandle window) override
    {
        return std::min<int>(GetWindowTextLengthA(asHwnd(window)), titleCharacterLimit);
    }
    QString title(WindowHandle window, int bufferSize) override
    {
        if (bufferSize <= 0)
            return {};
        std::vector<char> buffer(static_cast<size_t>(bufferSize), '\0');
        const int copied = GetWindowTextA(asHwnd(window), buffer.data(), bufferSize);
        return QString::fromLocal8Bit(buffer.data(), copied > 0 ? copied : 0);
    }
};

class User32WindowOrder : public WindowOrder
{
public:
    void makeTopmost(WindowHandle window) override
    {
        SetWindowPos(asHwnd(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    void sendToBottom(WindowHandle window) override
    {
        // Windows drops a topmost window's state at the bottom, but not every
        // implementation of these calls does (Wine keeps it).
        SetWindowPos(asHwnd(window), HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(asHwnd(window), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    void activate(WindowHandle window) override { SetForegroundWindow(asHwnd(window)); }
};
} // namespace

std::unique_ptr<WindowWalk> createUser32WindowWalk()
{
    return std::make_unique<User32WindowWalk>();
}

std::unique_ptr<WindowOrder> createUser32WindowOrder()
{
    return std::make_unique<User32WindowOrder>();
}
