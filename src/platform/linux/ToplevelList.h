// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowTypes.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <unordered_map>
#include <vector>

// A compositor's native window as its protocol has described it so far.
struct Toplevel {
    WindowHandle id = 0; // ours: never given to another window in this run
    QString title;       // bounded, as titles read from X11 are
    QString appId;
    std::optional<qint64> pid;
    bool minimized = false;
    bool active = false;
    bool described = false; // its first full description has arrived
    quint64 recency = 0;    // when it appeared or was last activated
};

// The native windows that one long-lived connection has learnt of, keyed by
// their protocol objects. The text and order come from another program and
// are taken as hostile: bounded, and never trusted to name a known window.
class ToplevelList
{
public:
    using Key = const void *;

    void add(Key key);
    void setTitle(Key key, QByteArrayView utf8);
    void setAppId(Key key, QByteArrayView utf8);
    void setPid(Key key, qint64 pid);
    void setMinimized(Key key, bool minimized);
    // Activation brings a window to the front of the order where the
    // protocol gives no stacking order.
    void setActive(Key key, bool active);
    void described(Key key);
    void remove(Key key);
    // Forgets every window; IDs still count on from the last one given.
    void clear();
    // Bottom to top, as the compositor stacks them; unknown keys are skipped.
    void setStacking(const std::vector<Key> &bottomToTop);

    // The described windows, top first: in stacking order when the
    // compositor gave one, else most recently activated or opened first.
    std::vector<const Toplevel *> topFirst() const;
    const Toplevel *find(WindowHandle id) const;
    // The ID of the latest window announced: it changes with each new one.
    WindowHandle newestId() const { return m_lastId; }
    std::optional<Key> keyOf(WindowHandle id) const;

private:
    Toplevel *entry(Key key);

    std::unordered_map<Key, Toplevel> m_windows;
    std::unordered_map<WindowHandle, Key> m_keys;
    std::vector<Key> m_stacking;
    bool m_hasStacking = false;
    WindowHandle m_lastId = 0;
    quint64 m_clock = 0;
};
