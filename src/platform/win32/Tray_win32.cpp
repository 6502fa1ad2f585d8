// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The notification area through shell32 and window subclassing through
// user32, in their ANSI form.
#undef UNICODE
#undef _UNICODE
#include <windows.h>

#include <shellapi.h>

#include "platform/win32/Handles_win32.h"
#include "platform/win32/Services_win32.h"

#include <QHash>
#include <QImage>
#include <QWidget>

#include <cstring>

namespace
{
// The record's fields are those of the shell's second version, which takes
// 504 bytes in a 64-bit program.
#ifdef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == 504);
#endif

class Shell32NotifyIcon : public NotifyIconShell
{
public:
    ~Shell32NotifyIcon() override
    {
        for (HICON icon : m_icons)
            DestroyIcon(icon);
    }
    bool notify(Request request, const NotifyIconRecord &record) override
    {
        // The record has the 32-bit layout; the system's own widens the handles.
        NOTIFYICONDATAA data{};
        data.cbSize = NOTIFYICONDATAA_V2_SIZE;
        data.hWnd = asHwnd(record.number(NotifyIconRecord::hWnd));
        data.uID = record.number(NotifyIconRecord::uID);
        data.uFlags = record.number(NotifyIconRecord::uFlags);
        data.uCallbackMessage = record.number(NotifyIconRecord::uCallbackMessage);
        data.hIcon = m_icons.value(record.number(NotifyIconRecord::hIcon));
        copyField(record, NotifyIconRecord::szTip, data.szTip, sizeof data.szTip);
        copyField(record, NotifyIconRecord::szInfo, data.szInfo, sizeof data.szInfo);
        copyField(record, NotifyIconRecord::szInfoTitle, data.szInfoTitle, sizeof data.szInfoTitle);
        data.uTimeout = record.number(NotifyIconRecord::uTimeout);
        return Shell_NotifyIconA(static_cast<DWORD>(request), &data);
    }
    quint32 iconHandle(const QIcon &icon) override
    {
        // The shell's small-icon size grows with the display's scale.
        const int size = GetSystemMetrics(SM_CXSMICON);
        HICON handle = icon.pixmap(size, size).toImage().toHICON();
        const auto key = static_cast<quint32>(m_icons.size() + 1);
        m_icons.insert(key, handle);
        return key;
    }
    bool isAvailable() const override { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }

private:
    static void copyField(const NotifyIconRecord &record, int offset, char *field, size_t size)
    {
        std::memcpy(field, record.bytes.data() + offset, size);
    }

    QHash<quint32, HICON> m_icons;
};

// One procedure per subclassed window, reached through a window property.
class User32WindowProcedures : public WindowProcedureHook
{
public:
    WindowHandle windowOf(QWidget *widget) override
    {
        return static_cast<WindowHandle>(widget->winId());
    }
    Procedure replace(WindowHandle window, Procedure procedure) override
    {
        Procedure previous = std::exchange(procedures()[window], std::move(procedure));
        if (!previous) {
            const auto original = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(asHwnd(window), GWLP_WNDPROC,
                                  reinterpret_cast<LONG_PTR>(&User32WindowProcedures::dispatch)));
            previous = [original](WindowHandle w, quint32 m, quintptr wp, qintptr lp) -> qintptr {
                return CallWindowProcA(original, asHwnd(w), m, wp, lp);
            };
        }
        return previous;
    }
    void setUserData(WindowHandle window, quintptr data) override
    {
        SetWindowLongPtrA(asHwnd(window), GWLP_USERDATA, static_cast<LONG_PTR>(data));
    }
    quintptr userData(WindowHandle window) const override
    {
        return static_cast<quintptr>(GetWindowLongPtrA(asHwnd(window), GWLP_USERDATA));
    }

private:
    static QHash<WindowHandle, Procedure> &procedures()
    {
        static QHash<WindowHandle, Procedure> all;
        return all;
    }
    static LRESULT CALLBACK dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        const WindowHandle handle = asHandle(window);
        const Procedure procedure = procedures().value(handle);
        return procedure ? procedure(handle, message, wParam, lParam)
                         : DefWindowProcA(window, message, wParam, lParam);
    }
};
} // namespace

std::unique_ptr<NotifyIconShell> createShell32NotifyIcon()
{
    return std::make_unique<Shell32NotifyIcon>();
}

std::unique_ptr<WindowProcedureHook> createUser32WindowProcedures()
{
    return std::make_unique<User32WindowProcedures>();
}
