// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/gnome/ShellWindows.h"

#include "common/AfterFirstShow.h"
#include "platform/linux/BusAnswer.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <unordered_set>
#include <utility>

namespace
{
// More than any desktop holds; a listing beyond it is cut there.
constexpr std::size_t mostWindows = 65536;

// A call of the extension's, which only a running shell answers.
QDBusMessage extensionCall(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/trelvanix/Windows"),
        QStringLiteral("org.trelvanix.Windows1"), method);
    call.setArguments(arguments);
    call.setAutoStartService(false);
    return call;
}

QDBusMessage ask(const QString &method, NativeWindowSource::Deadline deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    return QDBusConnection::sessionBus().call(extensionCall(method), QDBus::Block,
                                              int(std::clamp<qint64>(left, 1, 60000)));
}

ToplevelList::Key keyOf(quint64 id)
{
    return reinterpret_cast<ToplevelList::Key>(quintptr(id)); // only ever compared
}
} // namespace

std::unique_ptr<GnomeShellWindows> GnomeShellWindows::connect()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return nullptr;
    const QList<QByteArray> desktops = qgetenv("XDG_CURRENT_DESKTOP").split(':');
    if (!desktops.contains("GNOME"))
        return nullptr;
    return std::unique_ptr<GnomeShellWindows>(new GnomeShellWindows);
}

bool GnomeShellWindows::refresh(Deadline deadline)
{
    // The session bus is not asked before the window is up: the walk lists
    // X11's windows until then, and the window asks again once shown.
    if (!m_shown) {
        if (!std::exchange(m_waitingForShow, true))
            afterFirstShow(&m_context, [this] { m_shown = true; });
        return false;
    }
    // Listing asks the shell to walk all its windows; counting does not.
    if (m_offered && m_changes) {
        const QDBusMessage counted = ask(QStringLiteral("Changes"), deadline);
        if (counted.signature() == QLatin1String("t") &&
            counted.arguments().constFirst().toULongLong() == *m_changes)
            return true;
    }
    const QDBusMessage reply = ask(QStringLiteral("List"), deadline);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        if (const std::optional<std::vector<Listed>> listing = listingIn(reply)) {
            take(*listing);
            m_changes = reply.arguments().constFirst().toULongLong();
            m_answered = m_offered = true;
        }
    } else if (answeredInTime(reply)) {
        notOffered(reply);
    }
    return m_offered;
}

// Said once: the shell is there, but its extension does not answer.
void GnomeShellWindows::notOffered(const QDBusMessage &reply)
{
    if (!m_answered && reply.errorName() != QDBusError::errorString(QDBusError::ServiceUnknown))
        std::fprintf(stderr,
                     "trelvanix: GNOME Shell lists no native windows to this program, so only "
                     "XWayland's are listed: its extension is not enabled. Enable it with "
                     "\"gnome-extensions enable windows@trelvanix\" (GNOME 45 and later) or "
                     "\"gnome-extensions enable windows-legacy@trelvanix\" (GNOME 43 and 44), "
                     "then start Trelvanix again.\n");
    m_answered = true;
    m_offered = false;
    m_changes.reset();
    m_windows.clear();
}

std::optional<std::vector<GnomeShellWindows::Listed>>
GnomeShellWindows::listingIn(const QDBusMessage &reply)
{
    if (reply.signature() != QLatin1String("ta(tis)") || reply.arguments().size() != 2)
        return std::nullopt;
    const QDBusArgument array = reply.arguments().at(1).value<QDBusArgument>();
    std::vector<Listed> listing;
    array.beginArray();
    while (!array.atEnd() && listing.size() < mostWindows) {
        Listed window;
        array.beginStructure();
        array >> window.id >> window.pid >> window.title;
        array.endStructure();
        listing.push_back(std::move(window));
    }
    return listing;
}

void GnomeShellWindows::take(const std::vector<Listed> &topFirst)
{
    // A window is listed once, where it stands highest.
    std::vector<const Listed *> once;
    std::unordered_set<ToplevelList::Key> listed;
    for (const Listed &window : topFirst)
        if (listed.insert(keyOf(window.id)).second)
            once.push_back(&window);
    std::vector<ToplevelList::Key> bottomToTop;
    for (auto each = once.rbegin(); each != once.rend(); ++each) {
        const Listed *window = *each;
        const ToplevelList::Key key = keyOf(window->id);
        m_windows.add(key);
        m_windows.setTitle(key, window->title.toUtf8());
        if (window->pid > 0)
            m_windows.setPid(key, window->pid);
        m_windows.described(key);
        bottomToTop.push_back(key);
    }
    std::vector<ToplevelList::Key> gone;
    for (const Toplevel *window : m_windows.topFirst())
        if (const auto key = m_windows.keyOf(window->id); key && listed.count(*key) == 0)
            gone.push_back(*key);
    for (const ToplevelList::Key key : gone)
        m_windows.remove(key);
    m_windows.setStacking(bottomToTop);
}

void GnomeShellWindows::requestClose(WindowHandle window)
{
    // A request: its answer is the window going.
    if (const std::optional<ToplevelList::Key> key = m_windows.keyOf(window))
        QDBusConnection::sessionBus().send(
            extensionCall(QStringLiteral("Close"), {QVariant::fromValue(quint64(quintptr(*key)))}));
}

void GnomeShellWindows::waitUntilClosed(const std::vector<WindowHandle> &windows, Deadline deadline)
{
    const auto anyListed = [&] {
        return std::any_of(windows.begin(), windows.end(),
                           [&](WindowHandle window) { return m_windows.find(window); });
    };
    while (anyListed() && std::chrono::steady_clock::now() < deadline && refresh(deadline)) {
        if (anyListed())
            QThread::msleep(20);
    }
}
