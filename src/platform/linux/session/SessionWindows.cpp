// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/session/SessionWindows.h"

namespace
{
// How long a walk waits for the compositor to describe its windows; one that
// answers later is listed as it stood. A shell drawing a couple of hundred
// windows takes up to half a second to list them.
constexpr auto settleTime = std::chrono::seconds(1);
} // namespace

SessionWindows::SessionWindows(std::unique_ptr<WindowWalk> x11Walk,
                               std::unique_ptr<WindowControl> x11Control,
                               std::unique_ptr<NativeWindowSource> native, OwnWindows own)
    : m_x11Walk(std::move(x11Walk)), m_x11Control(std::move(x11Control)),
      m_native(std::move(native)), m_own(std::move(own)),
      m_choice(m_native ? Choice::Undecided : Choice::X11)
{
}

bool SessionWindows::useNative(NativeWindowSource::Deadline deadline)
{
    if (m_choice == Choice::X11)
        return false;
    const bool offered = m_native->refresh(deadline);
    if (m_choice == Choice::Undecided && m_native->hasAnswered())
        m_choice = offered ? Choice::Native : Choice::X11;
    return m_choice == Choice::Native;
}

OwnProgram SessionWindows::ownWindows() const
{
    // Without process IDs, our windows are told by our application's names
    // and the titles we show.
    if (m_native->reportsPids())
        return OwnProgram();
    return OwnProgram({}, m_own.appIds, m_own.titles ? m_own.titles() : std::vector<QString>());
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
    OwnProgram own = m_session->ownWindows();
    for (const Toplevel *window : m_session->native().windows().topFirst()) {
        if (own.owns(OwnProgram::Seen::named(window->pid, window->appId, window->title)))
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
    m_session->control().requestClose(window);
}

void SessionWindowControl::waitUntilClosed(const std::vector<WindowHandle> &windows,
                                           Deadline deadline)
{
    m_session->control().waitUntilClosed(windows, deadline);
}
