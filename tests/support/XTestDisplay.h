// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Windows of the test's own on a private X display, and what the window
// manager says about windows.
#include <QRect>
#include <QString>
#include <QTest>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

class XTestDisplay
{
public:
    XTestDisplay() : c(xcb_connect(nullptr, nullptr))
    {
        root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    }
    // The windows go before the next test looks, for the window manager too: the
    // next connection is given the same window IDs, and a manager still listing
    // one (slower under load) would pass for managing, or even ignore, the new one.
    ~XTestDisplay()
    {
        for (xcb_window_t window : created)
            xcb_destroy_window(c, window);
        const auto listed = [this](xcb_window_t window) { return isManaged(window); };
        for (int tries = 0; tries < 100 && std::any_of(created.begin(), created.end(), listed);
             ++tries)
            QTest::qSleep(20);
        xcb_disconnect(c);
    }

    xcb_atom_t atom(const char *name)
    {
        Reply<xcb_intern_atom_reply_t> r(
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr),
            &std::free);
        return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    std::vector<quint32> cardinals(xcb_window_t window, const char *property, xcb_atom_t type)
    {
        Reply<xcb_get_property_reply_t> r(
            xcb_get_property_reply(c, xcb_get_property(c, 0, window, atom(property), type, 0, 4096),
                                   nullptr),
            &std::free);
        if (!r || r->format != 32)
            return {};
        const auto *values = static_cast<quint32 *>(xcb_get_property_value(r.get()));
        return {values, values + xcb_get_property_value_length(r.get()) / 4};
    }

    // The managed windows of a process, as the window manager lists them.
    std::vector<xcb_window_t> windowsOfProcess(qint64 pid)
    {
        std::vector<xcb_window_t> windows;
        for (const quint32 window : cardinals(root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW)) {
            const auto pids = cardinals(window, "_NET_WM_PID", XCB_ATOM_CARDINAL);
            if (!pids.empty() && pids[0] == pid)
                windows.push_back(window);
        }
        return windows;
    }

    QString title(xcb_window_t window)
    {
        const xcb_atom_t utf8 = atom("UTF8_STRING");
        Reply<xcb_get_property_reply_t> r(
            xcb_get_property_reply(
                c, xcb_get_property(c, 0, window, atom("_NET_WM_NAME"), utf8, 0, 1024), nullptr),
            &std::free);
        if (!r)
            return {};
        return QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(r.get())),
                                 xcb_get_property_value_length(r.get()));
    }

    QRect geometry(xcb_window_t window)
    {
        Reply<xcb_get_geometry_reply_t> g(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &std::free);
        Reply<xcb_translate_coordinates_reply_t> t(
            xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0),
                                            nullptr),
            &std::free);
        if (!g || !t)
            return {};
        return QRect(t->dst_x, t->dst_y, g->width, g->height);
    }

    // Asks the window manager to close the window, as its close box does.
    void requestClose(xcb_window_t window)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom("_NET_CLOSE_WINDOW");
        event.data.data32[0] = XCB_CURRENT_TIME;
        event.data.data32[1] = 2; // from a pager or taskbar
        xcb_send_event(c, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&event));
        xcb_flush(c);
    }

    // A window of the test's own; the X server destroys it with the connection.
    struct NewWindow {
        enum Encoding { Utf8, Latin1, CompoundText };
        QByteArray title; // empty: no title at all
        Encoding encoding = Utf8;
        bool overrideRedirect = false;
        bool dock = false;
        bool undecorated = false;
        bool mapped = true;
    };

    xcb_window_t createWindow(const NewWindow &wanted)
    {
        const xcb_window_t window = xcb_generate_id(c);
        const uint32_t values[] = {wanted.overrideRedirect ? 1u : 0u};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, root, 20, 20, 160, 90, 1,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                          XCB_CW_OVERRIDE_REDIRECT, values);
        if (!wanted.title.isEmpty())
            setTitle(window, wanted.title, wanted.encoding);
        if (wanted.dock)
            setAtoms(window, "_NET_WM_WINDOW_TYPE", {atom("_NET_WM_WINDOW_TYPE_DOCK")});
        if (wanted.undecorated) {
            const uint32_t hints[] = {2, 0, 0, 0, 0}; // decorations given: none
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom("_MOTIF_WM_HINTS"),
                                atom("_MOTIF_WM_HINTS"), 32, 5, hints);
        }
        if (wanted.mapped)
            xcb_map_window(c, window);
        xcb_flush(c);
        created.push_back(window);
        return window;
    }

    void setTitle(xcb_window_t window, const QByteArray &title, NewWindow::Encoding encoding)
    {
        const auto length = static_cast<uint32_t>(title.size());
        if (encoding == NewWindow::Utf8)
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_NAME"),
                                atom("UTF8_STRING"), 8, length, title.constData());
        const xcb_atom_t type = encoding == NewWindow::CompoundText ? atom("COMPOUND_TEXT")
                                                                    : xcb_atom_t(XCB_ATOM_STRING);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, type, 8, length,
                            title.constData());
    }

    void setAtoms(xcb_window_t window, const char *property, const std::vector<xcb_atom_t> &atoms)
    {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom(property), XCB_ATOM_ATOM, 32,
                            static_cast<uint32_t>(atoms.size()), atoms.data());
    }

    // Asks the window manager to minimise a window of ours.
    void minimise(xcb_window_t window)
    {
        sendToRoot(window, atom("WM_CHANGE_STATE"), {3, 0, 0, 0, 0});
    }

    void sendToRoot(xcb_window_t window, xcb_atom_t type, std::array<uint32_t, 5> data)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = type;
        std::copy(data.begin(), data.end(), event.data.data32);
        xcb_send_event(c, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&event));
        xcb_flush(c);
    }

    bool isManaged(xcb_window_t window)
    {
        const auto list = cardinals(root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW);
        return std::find(list.begin(), list.end(), window) != list.end();
    }

    bool isViewable(xcb_window_t window)
    {
        Reply<xcb_get_window_attributes_reply_t> a(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr),
            &std::free);
        return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    // The managed windows, topmost first.
    std::vector<xcb_window_t> stackingTopFirst()
    {
        auto list = cardinals(root, "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
        std::reverse(list.begin(), list.end());
        return {list.begin(), list.end()};
    }

    // Where `window` stands in the stacking order, 0 for the topmost; -1 if absent.
    int stackingIndex(xcb_window_t window)
    {
        const auto list = stackingTopFirst();
        const auto found = std::find(list.begin(), list.end(), window);
        return found == list.end() ? -1 : static_cast<int>(found - list.begin());
    }

    bool hasState(xcb_window_t window, const char *state)
    {
        const auto states = cardinals(window, "_NET_WM_STATE", XCB_ATOM_ATOM);
        return std::find(states.begin(), states.end(), atom(state)) != states.end();
    }

    xcb_connection_t *c;
    xcb_window_t root;
    std::vector<xcb_window_t> created;
};
