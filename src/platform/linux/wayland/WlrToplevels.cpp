// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Native windows through wlroots' foreign-toplevel protocol (sway, phoc):
// titles, app_ids and states, but no stacking order and no process IDs.
#include "platform/linux/wayland/NativeWindows.h"

#include <wayland-client.h>
#include <wlr-foreign-toplevel-management-unstable-v1-client.h>

#include <unordered_set>

namespace
{
using Handle = zwlr_foreign_toplevel_handle_v1;
using Manager = zwlr_foreign_toplevel_manager_v1;
constexpr quint32 newestKnownVersion = 3;

class WlrToplevels : public ToplevelProtocol
{
public:
    WlrToplevels(Manager *manager, ToplevelList &windows) : m_manager(manager), m_windows(windows)
    {
        zwlr_foreign_toplevel_manager_v1_add_listener(m_manager, &managerListener, this);
    }
    ~WlrToplevels() override
    {
        for (Handle *handle : m_handles)
            zwlr_foreign_toplevel_handle_v1_destroy(handle);
        zwlr_foreign_toplevel_manager_v1_destroy(m_manager);
    }

    void close(ToplevelList::Key window) override
    {
        // The key is the handle it was listed under, if it is still open.
        const auto found = m_handles.find(static_cast<Handle *>(const_cast<void *>(window)));
        if (found != m_handles.end())
            zwlr_foreign_toplevel_handle_v1_close(*found);
    }
    bool reportsPids() const override { return false; }

private:
    static void toplevel(void *data, Manager *, Handle *handle)
    {
        auto *self = static_cast<WlrToplevels *>(data);
        self->m_handles.insert(handle);
        self->m_windows.add(handle);
        zwlr_foreign_toplevel_handle_v1_add_listener(handle, &handleListener, self);
    }
    static void finished(void *, Manager *) {}

    static void title(void *data, Handle *handle, const char *text)
    {
        static_cast<WlrToplevels *>(data)->m_windows.setTitle(handle, protocolText(text));
    }
    static void appId(void *data, Handle *handle, const char *text)
    {
        static_cast<WlrToplevels *>(data)->m_windows.setAppId(handle, protocolText(text));
    }
    static void outputEnter(void *, Handle *, wl_output *) {}
    static void outputLeave(void *, Handle *, wl_output *) {}
    static void state(void *data, Handle *handle, wl_array *states)
    {
        bool minimized = false;
        bool active = false;
        const auto *values = static_cast<const quint32 *>(states->data);
        for (size_t i = 0; i < states->size / sizeof(quint32); ++i) {
            minimized |= values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED;
            active |= values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
        }
        auto &windows = static_cast<WlrToplevels *>(data)->m_windows;
        windows.setMinimized(handle, minimized);
        windows.setActive(handle, active);
    }
    static void done(void *data, Handle *handle)
    {
        static_cast<WlrToplevels *>(data)->m_windows.described(handle);
    }
    static void closed(void *data, Handle *handle)
    {
        auto *self = static_cast<WlrToplevels *>(data);
        self->m_windows.remove(handle);
        self->m_handles.erase(handle);
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
    }
    static void parent(void *, Handle *, Handle *) {}

    static constexpr zwlr_foreign_toplevel_manager_v1_listener managerListener = {
        .toplevel = &toplevel, .finished = &finished};
    static constexpr zwlr_foreign_toplevel_handle_v1_listener handleListener = {
        .title = &title,
        .app_id = &appId,
        .output_enter = &outputEnter,
        .output_leave = &outputLeave,
        .state = &state,
        .done = &done,
        .closed = &closed,
        .parent = &parent};

    Manager *m_manager;
    ToplevelList &m_windows;
    std::unordered_set<Handle *> m_handles;
};
} // namespace

std::unique_ptr<ToplevelProtocol> bindWlrToplevels(wl_registry *registry, quint32 name,
                                                   quint32 version, ToplevelList &windows)
{
    auto *manager = static_cast<Manager *>(
        wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface,
                         std::min(version, newestKnownVersion)));
    return std::make_unique<WlrToplevels>(manager, windows);
}
