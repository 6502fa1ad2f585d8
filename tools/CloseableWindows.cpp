// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CloseableWindows.h"

#include "platform/linux/x11/XConnection.h"

#include <xcb/xcb_icccm.h>

#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace
{
xcb_window_t createWindow(xcb_connection_t *c, xcb_window_t root, int index,
                          const std::string &title)
{
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, root, 10 + index % 50, 10 + index % 40, 140,
                      60, 1, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atomNamed(c, "_NET_WM_NAME"),
                        atomNamed(c, "UTF8_STRING"), 8, static_cast<uint32_t>(title.size()),
                        title.data());
    xcb_icccm_set_wm_name(c, window, XCB_ATOM_STRING, 8, static_cast<uint32_t>(title.size()),
                          title.data());
    const uint32_t pid = static_cast<uint32_t>(::getpid());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atomNamed(c, "_NET_WM_PID"),
                        XCB_ATOM_CARDINAL, 32, 1, &pid);
    xcb_atom_t deleteWindow = atomNamed(c, "WM_DELETE_WINDOW");
    xcb_icccm_set_wm_protocols(c, window, atomNamed(c, "WM_PROTOCOLS"), 1, &deleteWindow);
    xcb_map_window(c, window);
    return window;
}

bool allManaged(xcb_connection_t *c, const std::vector<xcb_window_t> &windows, xcb_atom_t wmState)
{
    std::vector<xcb_get_property_cookie_t> cookies;
    for (const xcb_window_t window : windows)
        cookies.push_back(xcb_get_property(c, 0, window, wmState, wmState, 0, 2));
    bool all = true;
    for (const auto cookie : cookies) {
        const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
        all = all && reply && xcb_get_property_value_length(reply.get()) > 0;
    }
    return all;
}

void waitUntilManaged(xcb_connection_t *c, const std::vector<xcb_window_t> &windows)
{
    XConnection probe;
    if (!probe.ensureOpen() || probe.liveWindowManager() == XCB_WINDOW_NONE)
        return;
    const xcb_atom_t wmState = atomNamed(c, "WM_STATE");
    for (int tries = 0; tries < 600 && !allManaged(c, windows, wmState); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}
} // namespace

int runCloseableWindows(int count, const char *title, bool ignoreRequests)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t protocols = atomNamed(c, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atomNamed(c, "WM_DELETE_WINDOW");
    std::vector<xcb_window_t> windows;
    for (int i = 0; i < count; ++i)
        windows.push_back(
            createWindow(c, root, i, count == 1 ? title : title + (" " + std::to_string(i))));
    xcb_flush(c);
    waitUntilManaged(c, windows);
    std::printf("ready\n");
    std::fflush(stdout);

    std::set<xcb_window_t> open(windows.begin(), windows.end());
    while (!open.empty()) {
        xcb_generic_event_t *event = xcb_wait_for_event(c);
        if (!event)
            break;
        const auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && message->type == protocols &&
            message->data.data32[0] == deleteWindow && !ignoreRequests &&
            open.erase(message->window) > 0) {
            xcb_destroy_window(c, message->window);
            xcb_flush(c);
        }
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
