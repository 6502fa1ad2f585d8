// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/session/SessionWindows.h"

#include <algorithm>

#include <unistd.h>

namespace
{
// How long a walk waits for the compositor to describe its windows; one that
// answers later is listed as it stood.
constexpr auto settleTime = std::chrono::milliseconds(200);

auto findIgnoringCase(std::vector<QString> &texts, const QString &text)
{
    return std::find_if(texts.begin(), texts.end(), [&](const QString &candidate) {
        return candidate.compare(text, Qt::CaseInsensitive) == 0;
    });
}
} // namespace

SessionWindows::SessionWindows(std::unique_ptr<WindowWalk> x11Walk,
                               std::unique_ptr<WindowControl> x11Control,
                               std::unique_ptr<NativeWindows> native, OwnWindows own)
    : m_x11Walk(std::move(x11Walk)), m_x11Control(std::move(x11Control)),
      m_native(std::move(native)), m_own(std::move(own)),
      m_choice(m_native ? Choice::Undecided : Choice::X11)
{
}

bool SessionWindows::useNative(NativeWindows::Deadline deadline)
{
    if (m_choice == Choice::X11)
        return false;
    const bool offered = m_native->refresh(deadline);
    if (m_choice == Choice::Undecided && m_native->hasAnswered())
        m_choice = offered ? Choice::Native : Choice::X11;
    return m_choice == Choice::Native;
}

std::function<bool(const Toplevel &)> SessionWindows::ownWindowTest() const
{
    if (m_native->reportsPids())
        return [](const Toplevel &window) { return window.pid == qint64(::getpid()); };
    // Without process IDs, a window of our application's name showing one of
    // our titles is ours; but no more of them than we show with that title,
    // so that another program that takes our name and title stays listed.
    return [appIds = m_own.appIds, titles = m_own.titles ? m_own.titles() : std::vector<QString>()](
               const Toplevel &window) mutable {
        if (findIgnoringCase(appIds, window.appId) == appIds.end())
            return false;
        const auto title = findIgnoringCase(titles, window.title);
        if (title == titles.end())
            return false;
        titles.erase(title);
        return true;
    };
}

SessionWindowWalk::SessionWindowWalk(std::shared_ptr<SessionWindows> session)
    : m_session(std::move(session))
{
}

WindowHandle SessionWindowWalk::first(WindowHandle start)
{
    m_order.clear();
    m_titles.clear();
    m_native = m_session->useNative(std::chrono::steady_clock::now() + settleTime);
    if (!m_native)
        return m_session->x11Walk().first(start);
    const auto isOwn = m_session->ownWindowTest();
    for (const Toplevel *window : m_session->native().windows().topFirst()) {
        if (isOwn(*window))
            continue;
        m_order.append(window->id);
        m_titles.push_back(window->title);
    }
    return m_order.front();
}

WindowHandle SessionWindowWalk::next(WindowHandle current)
{
    if (!m_native)
        return m_session->x11Walk().next(current);
    return m_order.after(current);
}

const QString *SessionWindowWalk::nativeTitle(WindowHandle window) const
{
    const std::optional<std::size_t> index = m_order.indexOf(window);
    return index ? &m_titles[*index] : nullptr;
}

quint32 SessionWindowWalk::style(WindowHandle window)
{
    if (!m_native)
        return m_session->x11Walk().style(window);
    // The compositor lists shown and minimised windows alike, and decorates
    // them or has them draw their own frame: both count as bordered.
    return nativeTitle(window) != nullptr ? styleVisible | styleBorder : 0;
}

int SessionWindowWalk::titleLength(WindowHandle window)
{
    if (!m_native)
        return m_session->x11Walk().titleLength(window);
    const QString *title = nativeTitle(window);
    return title == nullptr ? 0 : int(title->size());
}

QString SessionWindowWalk::title(WindowHandle window, int bufferSize)
{
    if (!m_native)
        return m_session->x11Walk().title(window, bufferSize);
    const QString *title = nativeTitle(window);
    if (title == nullptr || bufferSize <= 0)
        return {};
    return title->left(bufferSize - 1);
}

SessionWindowControl::SessionWindowControl(std::shared_ptr<SessionWindows> session)
    : m_session(std::move(session))
{
}

void SessionWindowControl::requestClose(WindowHandle window)
{
    if (m_session->isNative())
        m_session->native().requestClose(window);
    else
        m_session->x11Control().requestClose(window);
}

void SessionWindowControl::waitUntilClosed(const std::vector<WindowHandle> &windows,
                                           Deadline deadline)
{
    if (m_session->isNative())
        m_session->native().waitUntilGone(windows, deadline);
    else
        m_session->x11Control().waitUntilClosed(windows, deadline);
}
