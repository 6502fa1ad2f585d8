// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <cstdlib>
#include <memory>
#include <vector>

typedef struct _XDisplay Display;

// Owns an xcb reply (or any malloc'd block xcb hands out).
struct XcbFree {
    void operator()(void *block) const { std::free(block); }
};
template <typename T> using XcbReply = std::unique_ptr<T, XcbFree>;

// The window layer's own connection to the X server. It is opened through
// Xlib, which owns nothing but the decoding of COMPOUND_TEXT titles; all
// requests go through xcb. A connection the server has dropped is opened anew
// on the next use.
class XConnection
{
public:
    XConnection();
    ~XConnection();
    XConnection(const XConnection &) = delete;
    XConnection &operator=(const XConnection &) = delete;

    // True when the server can be reached now; reconnects after a failure.
    bool ensureOpen();
    xcb_connection_t *xcb() const { return m_xcb; }
    xcb_ewmh_connection_t *ewmh() { return &m_ewmh; }
    xcb_window_t root() const { return m_root; }

    xcb_atom_t wmState() const { return m_wmState; }
    xcb_atom_t motifWmHints() const { return m_motifWmHints; }
    xcb_atom_t compoundText() const { return m_compoundText; }
    xcb_atom_t wmDeleteWindow() const { return m_wmDeleteWindow; }

    // The check window of a window manager that runs now: the root's
    // _NET_SUPPORTING_WM_CHECK window exists and points to itself. A manager
    // that exited leaves the property behind, so both ends are asked.
    xcb_window_t liveWindowManager();
    // Reads `bytes` of type COMPOUND_TEXT as Xlib does for the user's locale.
    QString decodeCompoundText(const QByteArray &bytes);
    // The server's time now, for requests that carry a timestamp; CurrentTime
    // when the server cannot be asked.
    xcb_timestamp_t serverTime();
    // Drops the errors of requests nobody waits for, which xcb queues as events.
    void discardQueuedEvents();

private:
    void open();
    void close();

    Display *m_display = nullptr;
    xcb_connection_t *m_xcb = nullptr;
    xcb_ewmh_connection_t m_ewmh{};
    bool m_ewmhReady = false;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_wmState = XCB_ATOM_NONE;
    xcb_atom_t m_motifWmHints = XCB_ATOM_NONE;
    xcb_atom_t m_compoundText = XCB_ATOM_NONE;
    xcb_atom_t m_wmDeleteWindow = XCB_ATOM_NONE;
    xcb_atom_t m_timeProperty = XCB_ATOM_NONE;
    xcb_window_t m_timeWindow = XCB_WINDOW_NONE; // ours, never shown
};

// Asks for an atom by name; its answer, NONE where there is none, is read
// with atomFrom, so that several questions go out before the first answer.
xcb_intern_atom_cookie_t askForAtom(xcb_connection_t *c, const char *name);
xcb_atom_t atomFrom(xcb_connection_t *c, xcb_intern_atom_cookie_t cookie);
// The atom of a name, asked and awaited at once.
inline xcb_atom_t atomNamed(xcb_connection_t *c, const char *name)
{
    return atomFrom(c, askForAtom(c, name));
}

// The first 32-bit value of a property reply, or `fallback` when it has none.
quint32 firstCardinal(const xcb_get_property_reply_t *reply, quint32 fallback);
