// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/x11/XConnection.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

xcb_intern_atom_cookie_t askForAtom(xcb_connection_t *c, const char *name)
{
    return xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
}

xcb_atom_t atomFrom(xcb_connection_t *c, xcb_intern_atom_cookie_t cookie)
{
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

namespace
{
xcb_window_t checkWindowOf(xcb_ewmh_connection_t *ewmh, xcb_window_t window)
{
    xcb_window_t check = XCB_WINDOW_NONE;
    if (!xcb_ewmh_get_supporting_wm_check_reply(
            ewmh, xcb_ewmh_get_supporting_wm_check(ewmh, window), &check, nullptr))
        return XCB_WINDOW_NONE;
    return check;
}
} // namespace

quint32 firstCardinal(const xcb_get_property_reply_t *reply, quint32 fallback)
{
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply) < 4)
        return fallback;
    return *static_cast<const quint32 *>(xcb_get_property_value(reply));
}

XConnection::XConnection()
{
    open();
}

XConnection::~XConnection()
{
    close();
}

void XConnection::open()
{
    m_display = XOpenDisplay(nullptr);
    if (!m_display)
        return;
    m_xcb = XGetXCBConnection(m_display);
    XSetEventQueueOwner(m_display, XCBOwnsEventQueue);
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_xcb)).data->root;
    const auto wmState = askForAtom(m_xcb, "WM_STATE");
    const auto motif = askForAtom(m_xcb, "_MOTIF_WM_HINTS");
    const auto compound = askForAtom(m_xcb, "COMPOUND_TEXT");
    const auto deleteWindow = askForAtom(m_xcb, "WM_DELETE_WINDOW");
    const auto timeProperty = askForAtom(m_xcb, "_TRELVANIX_TIME");
    xcb_intern_atom_cookie_t *ewmhCookies = xcb_ewmh_init_atoms(m_xcb, &m_ewmh);
    m_ewmhReady = xcb_ewmh_init_atoms_replies(&m_ewmh, ewmhCookies, nullptr);
    m_wmState = atomFrom(m_xcb, wmState);
    m_motifWmHints = atomFrom(m_xcb, motif);
    m_compoundText = atomFrom(m_xcb, compound);
    m_wmDeleteWindow = atomFrom(m_xcb, deleteWindow);
    m_timeProperty = atomFrom(m_xcb, timeProperty);
}

void XConnection::close()
{
    if (m_ewmhReady)
        xcb_ewmh_connection_wipe(&m_ewmh);
    m_ewmhReady = false;
    if (m_display)
        XCloseDisplay(m_display);
    m_display = nullptr;
    m_xcb = nullptr;
    m_timeWindow = XCB_WINDOW_NONE;
}

bool XConnection::ensureOpen()
{
    if (m_xcb && xcb_connection_has_error(m_xcb)) {
        close();
        open();
    } else if (!m_display) {
        open();
    }
    return m_xcb && m_ewmhReady && !xcb_connection_has_error(m_xcb);
}

xcb_window_t XConnection::liveWindowManager()
{
    const xcb_window_t check = checkWindowOf(&m_ewmh, m_root);
    if (check == XCB_WINDOW_NONE || checkWindowOf(&m_ewmh, check) != check)
        return XCB_WINDOW_NONE;
    return check;
}

QString XConnection::decodeCompoundText(const QByteArray &bytes)
{
    XTextProperty property;
    property.value = reinterpret_cast<unsigned char *>(const_cast<char *>(bytes.constData()));
    property.encoding = m_compoundText;
    property.format = 8;
    property.nitems = static_cast<unsigned long>(bytes.size());
    char **list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(m_display, &property, &list, &count) < Success || !list)
        return QString::fromLatin1(bytes);
    QString text;
    for (int i = 0; i < count; ++i)
        text += QString::fromUtf8(list[i]);
    XFreeStringList(list);
    return text;
}

xcb_timestamp_t XConnection::serverTime()
{
    if (m_timeWindow == XCB_WINDOW_NONE) {
        m_timeWindow = xcb_generate_id(m_xcb);
        const uint32_t values[] = {1, XCB_EVENT_MASK_PROPERTY_CHANGE};
        xcb_create_window(m_xcb, 0, m_timeWindow, m_root, -1, -1, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                          XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    }
    // The server stamps the notification of a property change with its time;
    // appending nothing changes nothing else.
    xcb_change_property(m_xcb, XCB_PROP_MODE_APPEND, m_timeWindow, m_timeProperty, XCB_ATOM_STRING,
                        8, 0, nullptr);
    xcb_flush(m_xcb);
    while (xcb_generic_event_t *event = xcb_wait_for_event(m_xcb)) {
        const XcbReply<xcb_generic_event_t> owned(event);
        const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY && notify->window == m_timeWindow)
            return notify->time;
    }
    return XCB_CURRENT_TIME;
}

void XConnection::discardQueuedEvents()
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_xcb))
        std::free(event);
}
