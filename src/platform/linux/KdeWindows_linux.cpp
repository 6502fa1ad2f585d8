// Native windows through KDE's window management protocol (KWin): titles,
// states, process IDs and the stacking order.
#include "platform/linux/NativeWindows_linux.h"

#include <plasma-window-management-client.h>
#include <wayland-client.h>

#include <QByteArray>

#include <cstring>
#include <map>
#include <unordered_map>

namespace
{
using Window = org_kde_plasma_window;
using Management = org_kde_plasma_window_management;
constexpr quint32 newestKnownVersion = 16;
// From this version on windows are named by UUID, the numbers deprecated.
constexpr quint32 uuidVersion = 13;
// Before it, no event says that a window's first description is complete.
constexpr quint32 initialStateVersion = 4;

QByteArrayView textOf(const char *text)
{
    return text == nullptr ? QByteArrayView() : QByteArrayView(text, qsizetype(std::strlen(text)));
}

class KdeWindows : public ToplevelProtocol
{
public:
    KdeWindows(Management *management, quint32 version, ToplevelList &windows)
        : m_management(management), m_byUuid(version >= uuidVersion),
          m_describedOnArrival(version < initialStateVersion), m_windows(windows)
    {
        org_kde_plasma_window_management_add_listener(m_management, &managementListener, this);
    }
    ~KdeWindows() override
    {
        for (const auto &[window, name] : m_names)
            org_kde_plasma_window_destroy(window);
        org_kde_plasma_window_management_destroy(m_management);
    }

    void close(ToplevelList::Key key) override
    {
        auto *window = static_cast<Window *>(const_cast<void *>(key));
        if (m_names.count(window) != 0)
            org_kde_plasma_window_close(window);
    }
    bool reportsPids() const override { return true; }

    // The stacking order names windows by number or by UUID, bottom first.
    void restack(const std::vector<QByteArray> &bottomToTop)
    {
        std::vector<ToplevelList::Key> keys;
        keys.reserve(bottomToTop.size());
        for (const QByteArray &name : bottomToTop) {
            const auto found = m_byName.find(name);
            if (found != m_byName.end())
                keys.push_back(found->second);
        }
        m_windows.setStacking(keys);
    }

private:
    void track(Window *window, QByteArray name)
    {
        if (window == nullptr)
            return;
        m_names.emplace(window, name);
        m_byName[name] = window;
        m_windows.add(window);
        if (m_describedOnArrival)
            m_windows.described(window);
        org_kde_plasma_window_add_listener(window, &windowListener, this);
    }
    void forget(Window *window)
    {
        const auto found = m_names.find(window);
        if (found == m_names.end())
            return;
        m_byName.erase(found->second);
        m_names.erase(found);
        m_windows.remove(window);
        org_kde_plasma_window_destroy(window);
    }

    static KdeWindows *self(void *data) { return static_cast<KdeWindows *>(data); }

    static void showDesktopChanged(void *, Management *, quint32) {}
    static void window(void *data, Management *management, quint32 id)
    {
        if (self(data)->m_byUuid)
            return; // announced again with its UUID
        self(data)->track(org_kde_plasma_window_management_get_window(management, id),
                          QByteArray::number(id));
    }
    static void stackingById(void *data, Management *, wl_array *ids)
    {
        if (self(data)->m_byUuid)
            return;
        std::vector<QByteArray> names;
        const auto *values = static_cast<const quint32 *>(ids->data);
        for (size_t i = 0; i < ids->size / sizeof(quint32); ++i)
            names.push_back(QByteArray::number(values[i]));
        self(data)->restack(names);
    }
    static void stackingByUuid(void *data, Management *, const char *uuids)
    {
        if (self(data)->m_byUuid)
            self(data)->restack(splitStackingOrder(textOf(uuids)));
    }
    static void windowWithUuid(void *data, Management *management, quint32, const char *uuid)
    {
        if (self(data)->m_byUuid && uuid != nullptr)
            self(data)->track(org_kde_plasma_window_management_get_window_by_uuid(management, uuid),
                              QByteArray(uuid));
    }

    static ToplevelList &list(void *data) { return self(data)->m_windows; }
    static void titleChanged(void *data, Window *window, const char *title)
    {
        list(data).setTitle(window, textOf(title));
    }
    static void appIdChanged(void *data, Window *window, const char *appId)
    {
        list(data).setAppId(window, textOf(appId));
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
        .stacking_order_changed = &stackingById,
        .stacking_order_uuid_changed = &stackingByUuid,
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
    const bool m_byUuid;
    const bool m_describedOnArrival;
    ToplevelList &m_windows;
    std::map<Window *, QByteArray> m_names;
    std::unordered_map<QByteArray, Window *> m_byName;
};
} // namespace

std::unique_ptr<ToplevelProtocol> bindKdeWindows(wl_registry *registry, quint32 name,
                                                 quint32 version, ToplevelList &windows)
{
    version = std::min(version, newestKnownVersion);
    auto *management = static_cast<Management *>(
        wl_registry_bind(registry, name, &org_kde_plasma_window_management_interface, version));
    return std::make_unique<KdeWindows>(management, version, windows);
}
