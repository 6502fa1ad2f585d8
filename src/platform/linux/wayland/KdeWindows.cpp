// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Native windows through KDE's window management protocol (KWin): titles,
// states, process IDs and the stacking order.
#include "platform/linux/wayland/NativeWindows.h"

#include <plasma-window-management-client.h>
#include <wayland-client.h>

#include <QByteArrayView>

#include <map>
#include <unordered_map>

namespace
{
using Window = org_kde_plasma_window;
using Management = org_kde_plasma_window_management;
// From version 12 on, the stacking order also comes as one text of UUIDs,
// 39 bytes a window, and KWin 5.27 drops the connection of a client that it
// would send more than a Wayland message holds (4096 bytes): about 100
// windows. Version 11 names windows by number, 4 bytes a window.
constexpr quint32 boundVersion = 11;
// Before it, no event says that a window's first description is complete.
constexpr quint32 initialStateVersion = 4;

class KdeWindows : public ToplevelProtocol
{
public:
    KdeWindows(Management *management, quint32 version, ToplevelList &windows)
        : m_management(management), m_describedOnArrival(version < initialStateVersion),
          m_windows(windows)
    {
        org_kde_plasma_window_management_add_listener(m_management, &managementListener, this);
    }
    ~KdeWindows() override
    {
        for (const auto &[window, id] : m_ids)
            org_kde_plasma_window_destroy(window);
        org_kde_plasma_window_management_destroy(m_management);
    }

    void close(ToplevelList::Key key) override
    {
        auto *window = static_cast<Window *>(const_cast<void *>(key));
        if (m_ids.count(window) != 0)
            org_kde_plasma_window_close(window);
    }
    bool reportsPids() const override { return true; }

    // The stacking order names windows by number, bottom first.
    void restack(const quint32 *bottomToTop, size_t count)
    {
        std::vector<ToplevelList::Key> keys;
        keys.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            const auto found = m_byId.find(bottomToTop[i]);
            if (found != m_byId.end())
                keys.push_back(found->second);
        }
        m_windows.setStacking(keys);
    }

private:
    void track(Window *window, quint32 id)
    {
        if (window == nullptr)
            return;
        m_ids.emplace(window, id);
        m_byId[id] = window;
        m_windows.add(window);
        if (m_describedOnArrival)
            m_windows.described(window);
        org_kde_plasma_window_add_listener(window, &windowListener, this);
    }
    void forget(Window *window)
    {
        const auto found = m_ids.find(window);
        if (found == m_ids.end())
            return;
        m_byId.erase(found->second);
        m_ids.erase(found);
        m_windows.remove(window);
        org_kde_plasma_window_destroy(window);
    }

    static KdeWindows *self(void *data) { return static_cast<KdeWindows *>(data); }

    static void showDesktopChanged(void *, Management *, quint32) {}
    static void window(void *data, Management *management, quint32 id)
    {
        if (self(data)->m_byId.count(id) == 0)
            self(data)->track(org_kde_plasma_window_management_get_window(management, id), id);
    }
    static void stacking(void *data, Management *, wl_array *ids)
    {
        self(data)->restack(static_cast<const quint32 *>(ids->data), ids->size / sizeof(quint32));
    }
    // Not sent at the version bound.
    static void uuidStacking(void *, Management *, const char *) {}
    static void windowWithUuid(void *, Management *, quint32, const char *) {}

    static ToplevelList &list(void *data) { return self(data)->m_windows; }
    static void titleChanged(void *data, Window *window, const char *title)
    {
        list(data).setTitle(window, protocolText(title));
    }
    static void appIdChanged(void *data, Window *window, const char *appId)
    {
        list(data).setAppId(window, protocolText(appId));
    }
    static void stateChanged(void *data, Window *window, quint32 flags)
    {
        list(data).setMinimized(window, flags & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MINIMIZED);
        list(data).setActive(window, flags & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE);
    }
    static void unmapped(void *data, Window *window) { self(data)->forget(window); }
    static void initialState(void *data, Window *window) { list(data).described(window); }
    static void pidChanged(void *data, Window *window, quint32 pid)
    {
        list(data).setPid(window, pid);
    }
    static void ignoreNumber(void *, Window *, int32_t) {}
    static void ignoreText(void *, Window *, const char *) {}
    static void ignore(void *, Window *) {}
    static void ignoreParent(void *, Window *, Window *) {}
    static void ignoreGeometry(void *, Window *, int32_t, int32_t, quint32, quint32) {}
    static void ignoreMenu(void *, Window *, const char *, const char *) {}

    static constexpr org_kde_plasma_window_management_listener managementListener = {
        .show_desktop_changed = &showDesktopChanged,
        .window = &window,
        .stacking_order_changed = &stacking,
        .stacking_order_uuid_changed = &uuidStacking,
        .window_with_uuid = &windowWithUuid};
    static constexpr org_kde_plasma_window_listener windowListener = {
        .title_changed = &titleChanged,
        .app_id_changed = &appIdChanged,
        .state_changed = &stateChanged,
        .virtual_desktop_changed = &ignoreNumber,
        .themed_icon_name_changed = &ignoreText,
        .unmapped = &unmapped,
        .initial_state = &initialState,
        .parent_window = &ignoreParent,
        .geometry = &ignoreGeometry,
        .icon_changed = &ignore,
        .pid_changed = &pidChanged,
        .virtual_desktop_entered = &ignoreText,
        .virtual_desktop_left = &ignoreText,
        .application_menu = &ignoreMenu,
        .activity_entered = &ignoreText,
        .activity_left = &ignoreText,
        .resource_name_changed = &ignoreText};

    Management *m_management;
    const bool m_describedOnArrival;
    ToplevelList &m_windows;
    std::map<Window *, quint32> m_ids;
    std::unordered_map<quint32, Window *> m_byId;
};
} // namespace

std::unique_ptr<ToplevelProtocol> bindKdeWindows(wl_registry *registry, quint32 name,
                                                 quint32 version, ToplevelList &windows)
{
    version = std::min(version, boundVersion);
    auto *management = static_cast<Management *>(
        wl_registry_bind(registry, name, &org_kde_plasma_window_management_interface, version));
    return std::make_unique<KdeWindows>(management, version, windows);
}
