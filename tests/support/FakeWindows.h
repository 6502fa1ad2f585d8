// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowOrder.h"
#include "platform/WindowWalk.h"

#include <QString>

#include <algorithm>
#include <vector>

// An in-memory desktop: windows in Z order, topmost first.
class FakeWindowWalk : public WindowWalk
{
public:
    struct Window {
        WindowHandle handle;
        quint32 style;
        QString title;
        bool gone = false;
    };
    static constexpr quint32 taskStyle = styleVisible | styleBorder;

    void add(WindowHandle handle, const QString &title, quint32 style = taskStyle)
    {
        windows.push_back({handle, style, title});
    }

    WindowHandle first(WindowHandle) override
    {
        ++walks;
        return windows.empty() ? 0 : windows.front().handle;
    }
    WindowHandle next(WindowHandle current) override
    {
        const auto found = find(current);
        if (found == windows.end() || found + 1 == windows.end())
            return 0;
        return (found + 1)->handle;
    }
    quint32 style(WindowHandle window) override
    {
        const auto found = find(window);
        return found == windows.end() || found->gone ? 0 : found->style;
    }
    int titleLength(WindowHandle window) override
    {
        const auto found = find(window);
        return found == windows.end() || found->gone ? 0 : static_cast<int>(found->title.size());
    }
    QString title(WindowHandle window, int bufferSize) override
    {
        const auto found = find(window);
        if (found == windows.end() || found->gone || bufferSize <= 0)
            return {};
        return found->title.left(bufferSize - 1);
    }

    std::vector<Window> windows;
    int walks = 0;

private:
    std::vector<Window>::iterator find(WindowHandle handle)
    {
        return std::find_if(windows.begin(), windows.end(),
                            [handle](const Window &w) { return w.handle == handle; });
    }
};

// Records the order requests instead of carrying them out.
class FakeWindowOrder : public WindowOrder
{
public:
    void makeTopmost(WindowHandle window) override { requests.push_back({window, true}); }
    void sendToBottom(WindowHandle window) override { requests.push_back({window, false}); }
    void activate(WindowHandle window) override { activated.push_back(window); }

    struct Request {
        WindowHandle window;
        bool topmost;
        bool operator==(const Request &) const = default;
    };
    std::vector<Request> requests;
    std::vector<WindowHandle> activated;
};
