// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/linux/x11/WindowFacts.h"

#include "platform/linux/WindowTitle.h"


#include <algorithm>

namespace
{
constexpr quint32 wmStateNormal = 1;
constexpr quint32 wmStateIconic = 3;
constexpr quint32 motifDecorationsFlag = 1u << 1;
// Frames may nest the client a level or two below the root's child.
constexpr int clientSearchDepth = 3;

struct FactCookies {
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_property_cookie_t wmState;
    xcb_get_property_cookie_t windowType;
    xcb_get_property_cookie_t motifHints;
    xcb_get_property_cookie_t netWmName;
    xcb_get_property_cookie_t wmName;
};

xcb_get_property_cookie_t getProperty(XConnection &x, xcb_window_t window, xcb_atom_t property,
                                      quint32 longs = 16)
{
    return xcb_get_property(x.xcb(), 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, longs);
}

XcbReply<xcb_get_property_reply_t> propertyReply(XConnection &x, xcb_get_property_cookie_t cookie)
{
    return XcbReply<xcb_get_property_reply_t>(xcb_get_property_reply(x.xcb(), cookie, nullptr));
}

// Titles are asked for bounded: a client may set megabytes.
xcb_get_property_cookie_t titleProperty(XConnection &x, xcb_window_t window, xcb_atom_t property,
                                        xcb_atom_t type)
{
    return xcb_get_property(x.xcb(), 0, window, property, type, 0, titleFetchLongs);
}

FactCookies requestFacts(XConnection &x, xcb_window_t window)
{
    xcb_ewmh_connection_t *ewmh = x.ewmh();
    return {xcb_get_window_attributes(x.xcb(), window),
            getProperty(x, window, x.wmState()),
            xcb_ewmh_get_wm_window_type(ewmh, window),
            getProperty(x, window, x.motifWmHints()),
            titleProperty(x, window, ewmh->_NET_WM_NAME, ewmh->UTF8_STRING),
            titleProperty(x, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY)};
}

bool isUndecoratedType(XConnection &x, xcb_get_property_cookie_t cookie)
{
    xcb_ewmh_connection_t *ewmh = x.ewmh();
    xcb_ewmh_get_atoms_reply_t types;
    if (!xcb_ewmh_get_wm_window_type_reply(ewmh, cookie, &types, nullptr))
        return false;
    const xcb_atom_t *end = types.atoms + types.atoms_len;
    const bool undecorated =
        std::any_of(static_cast<const xcb_atom_t *>(types.atoms), end, [ewmh](xcb_atom_t type) {
            return type == ewmh->_NET_WM_WINDOW_TYPE_DOCK ||
                   type == ewmh->_NET_WM_WINDOW_TYPE_DESKTOP ||
                   type == ewmh->_NET_WM_WINDOW_TYPE_NOTIFICATION;
        });
    xcb_ewmh_get_atoms_reply_wipe(&types);
    return undecorated;
}

bool motifUndecorated(const xcb_get_property_reply_t *hints)
{
    if (!hints || hints->format != 32 || xcb_get_property_value_length(hints) < 12)
        return false;
    const auto *values = static_cast<const quint32 *>(xcb_get_property_value(hints));
    return (values[0] & motifDecorationsFlag) && values[2] == 0;
}

QByteArrayView propertyBytes(const xcb_get_property_reply_t *reply)
{
    return {static_cast<const char *>(xcb_get_property_value(reply)),
            xcb_get_property_value_length(reply)};
}

TitleEncoding encodingOf(XConnection &x, xcb_atom_t type)
{
    if (type == x.compoundText())
        return TitleEncoding::CompoundText;
    return type == x.ewmh()->UTF8_STRING ? TitleEncoding::Utf8 : TitleEncoding::Latin1;
}

QString readTitle(XConnection &x, const FactCookies &cookies)
{
    const auto netName = propertyReply(x, cookies.netWmName);
    const auto name = propertyReply(x, cookies.wmName);
    QString title;
    if (netName && netName->type == x.ewmh()->UTF8_STRING && netName->format == 8)
        title = decodeTitle(propertyBytes(netName.get()), TitleEncoding::Utf8);
    if (!title.isEmpty() || !name || name->type == XCB_ATOM_NONE)
        return title;
    return decodeTitle(propertyBytes(name.get()), encodingOf(x, name->type),
                       [&x](const QByteArray &bytes) { return x.decodeCompoundText(bytes); });
}

WindowFacts collectFacts(XConnection &x, const FactCookies &cookies)
{
    WindowFacts facts;
    const XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(x.xcb(), cookies.attributes, nullptr));
    const auto wmState = propertyReply(x, cookies.wmState);
    const bool undecoratedType = isUndecoratedType(x, cookies.windowType);
    const auto motifHints = propertyReply(x, cookies.motifHints);
    const QString title = readTitle(x, cookies);
    if (!attributes)
        return facts; // gone
    facts.exists = true;
    const quint32 state = firstCardinal(wmState.get(), 0);
    const bool managed = wmState && wmState->type != XCB_ATOM_NONE;
    // Without a window manager nothing sets WM_STATE: a mapped window is shown.
    facts.visible = managed ? state == wmStateNormal || state == wmStateIconic
                            : attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    facts.bordered =
        !attributes->override_redirect && !undecoratedType && !motifUndecorated(motifHints.get());
    facts.title = title;
    return facts;
}

std::vector<xcb_window_t> stackingListTopFirst(XConnection &x)
{
    xcb_ewmh_get_windows_reply_t list;
    std::vector<xcb_window_t> windows;
    if (!xcb_ewmh_get_client_list_stacking_reply(
            x.ewmh(), xcb_ewmh_get_client_list_stacking(x.ewmh(), 0), &list, nullptr))
        return windows;
    windows.assign(list.windows, list.windows + list.windows_len);
    xcb_ewmh_get_windows_reply_wipe(&list);
    std::reverse(windows.begin(), windows.end());
    return windows;
}

std::vector<xcb_window_t> childrenBottomFirst(XConnection &x, xcb_window_t parent)
{
    const XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(x.xcb(), xcb_query_tree(x.xcb(), parent), nullptr));
    if (!tree)
        return {};
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

} // namespace

std::vector<bool> haveWmState(XConnection &x, const std::vector<xcb_window_t> &windows)
{
    std::vector<xcb_get_property_cookie_t> cookies;
    cookies.reserve(windows.size());
    for (xcb_window_t window : windows)
        cookies.push_back(getProperty(x, window, x.wmState(), 2));
    std::vector<bool> result;
    result.reserve(windows.size());
    for (auto cookie : cookies) {
        const auto reply = propertyReply(x, cookie);
        result.push_back(reply && reply->type != XCB_ATOM_NONE);
    }
    return result;
}

namespace
{
// The client under each of `frames`: the frame itself when it carries WM_STATE,
// else the first descendant that does, else the frame.
std::vector<xcb_window_t> clientsOf(XConnection &x, const std::vector<xcb_window_t> &frames)
{
    std::vector<xcb_window_t> clients(frames.size(), XCB_WINDOW_NONE);
    std::vector<std::vector<xcb_window_t>> candidates;
    for (xcb_window_t frame : frames)
        candidates.push_back({frame});
    for (int depth = 0; depth < clientSearchDepth; ++depth) {
        std::vector<xcb_window_t> flat;
        std::vector<size_t> owner;
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (clients[i] != XCB_WINDOW_NONE)
                continue;
            for (xcb_window_t window : candidates[i]) {
                flat.push_back(window);
                owner.push_back(i);
            }
        }
        if (flat.empty())
            break;
        const std::vector<bool> marked = haveWmState(x, flat);
        for (size_t k = 0; k < flat.size(); ++k)
            if (marked[k] && clients[owner[k]] == XCB_WINDOW_NONE)
                clients[owner[k]] = flat[k];
        std::vector<std::pair<size_t, xcb_query_tree_cookie_t>> trees;
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (clients[i] == XCB_WINDOW_NONE)
                for (xcb_window_t window : candidates[i])
                    trees.emplace_back(i, xcb_query_tree(x.xcb(), window));
            candidates[i].clear();
        }
        for (const auto &[i, cookie] : trees) {
            const XcbReply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(x.xcb(), cookie, nullptr));
            if (!tree)
                continue;
            const xcb_window_t *children = xcb_query_tree_children(tree.get());
            candidates[i].insert(candidates[i].end(), children,
                                 children + xcb_query_tree_children_length(tree.get()));
        }
    }
    for (size_t i = 0; i < frames.size(); ++i)
        if (clients[i] == XCB_WINDOW_NONE)
            clients[i] = frames[i];
    return clients;
}
} // namespace

std::vector<xcb_window_t> topLevelClientsTopFirst(XConnection &x)
{
    if (x.liveWindowManager() != XCB_WINDOW_NONE)
        return stackingListTopFirst(x);
    std::vector<xcb_window_t> frames = childrenBottomFirst(x, x.root());
    std::reverse(frames.begin(), frames.end());
    return clientsOf(x, frames);
}

std::vector<WindowFacts> readWindowFacts(XConnection &x, const std::vector<xcb_window_t> &windows)
{
    std::vector<FactCookies> cookies;
    cookies.reserve(windows.size());
    for (xcb_window_t window : windows)
        cookies.push_back(requestFacts(x, window));
    std::vector<WindowFacts> facts;
    facts.reserve(windows.size());
    for (const FactCookies &windowCookies : cookies)
        facts.push_back(collectFacts(x, windowCookies));
    return facts;
}
