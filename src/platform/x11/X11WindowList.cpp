// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/x11/X11WindowList.h"

#include "platform/x11/WindowFacts.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/XcbReply.h"

#include <QCoreApplication>

#include <algorithm>

namespace tavolen::platform::x11 {

namespace {

// Window types that are not an application's own window.
constexpr const char *kSkippedTypes[] = {
    "_NET_WM_WINDOW_TYPE_DOCK",    "_NET_WM_WINDOW_TYPE_DESKTOP",    "_NET_WM_WINDOW_TYPE_NOTIFICATION",
    "_NET_WM_WINDOW_TYPE_TOOLTIP", "_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
    "_NET_WM_WINDOW_TYPE_COMBO",   "_NET_WM_WINDOW_TYPE_DND",
};

bool containsAny(const std::optional<std::vector<quint32>> &values, const std::vector<xcb_atom_t> &wanted)
{
    if (!values)
        return false;
    return std::any_of(values->begin(), values->end(),
                       [&](quint32 v) { return std::find(wanted.begin(), wanted.end(), v) != wanted.end(); });
}

// Every request for one window, sent before any reply is read, so that the
// whole list costs about one round trip.
struct Pending {
    xcb_window_t window;
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
    xcb_get_property_cookie_t pid, desktop, state, type, frame, shadow;
};

struct Atoms {
    xcb_atom_t cardinal = XCB_ATOM_CARDINAL;
    xcb_atom_t atomType = XCB_ATOM_ATOM;
    xcb_atom_t pid, desktop, state, type, frame, shadow, hidden;
    std::vector<xcb_atom_t> skippedTypes;

    explicit Atoms(xcb_connection_t *c)
        : pid(atom(c, "_NET_WM_PID")), desktop(atom(c, "_NET_WM_DESKTOP")), state(atom(c, "_NET_WM_STATE")),
          type(atom(c, "_NET_WM_WINDOW_TYPE")), frame(atom(c, "_NET_FRAME_EXTENTS")),
          shadow(atom(c, "_GTK_FRAME_EXTENTS")), hidden(atom(c, "_NET_WM_STATE_HIDDEN"))
    {
        for (const char *name : kSkippedTypes)
            skippedTypes.push_back(atom(c, name));
    }
};

// Bottom-to-top, as the server and EWMH list them.
std::vector<xcb_window_t> stackedWindows(xcb_connection_t *c, xcb_window_t root)
{
    const auto stacking = takeValues(
        xcb_get_property_reply(
            c, requestValues(c, root, atom(c, "_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW), nullptr),
        XCB_ATOM_WINDOW);
    if (stacking)
        return {stacking->begin(), stacking->end()};

    // No window manager: the top-level windows are the root's own children.
    std::vector<xcb_window_t> children;
    if (const XcbReply<xcb_query_tree_reply_t> tree{
            xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr)}) {
        const xcb_window_t *data = xcb_query_tree_children(tree.get());
        children.assign(data, data + xcb_query_tree_children_length(tree.get()));
    }
    return children;
}

Pending request(xcb_connection_t *c, xcb_window_t root, xcb_window_t w, const Atoms &a)
{
    return Pending{w,
                   xcb_get_window_attributes(c, w),
                   xcb_get_geometry(c, w),
                   xcb_translate_coordinates(c, w, root, 0, 0),
                   requestValues(c, w, a.pid, a.cardinal),
                   requestValues(c, w, a.desktop, a.cardinal),
                   requestValues(c, w, a.state, a.atomType),
                   requestValues(c, w, a.type, a.atomType),
                   requestValues(c, w, a.frame, a.cardinal),
                   requestValues(c, w, a.shadow, a.cardinal)};
}

WindowFacts collect(xcb_connection_t *c, const Pending &p, const Atoms &a)
{
    WindowFacts facts;
    if (const XcbReply<xcb_get_window_attributes_reply_t> attr{
            xcb_get_window_attributes_reply(c, p.attributes, nullptr)}) {
        facts.viewable = attr->map_state == XCB_MAP_STATE_VIEWABLE;
        facts.overrideRedirect = attr->override_redirect;
    }
    const XcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, p.geometry, nullptr));
    const XcbReply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, p.origin, nullptr));
    if (geometry && origin)
        facts.client = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    else
        facts.viewable = false; // the window went away meanwhile

    if (auto pid = takeValues(xcb_get_property_reply(c, p.pid, nullptr), a.cardinal))
        facts.pid = pid->front();
    if (auto desktop = takeValues(xcb_get_property_reply(c, p.desktop, nullptr), a.cardinal))
        facts.desktop = desktop->front();
    facts.hidden =
        containsAny(takeValues(xcb_get_property_reply(c, p.state, nullptr), a.atomType), {a.hidden});
    facts.notAppWindow =
        containsAny(takeValues(xcb_get_property_reply(c, p.type, nullptr), a.atomType), a.skippedTypes);
    facts.frame = extentsFrom(takeValues(xcb_get_property_reply(c, p.frame, nullptr), a.cardinal));
    facts.shadow = extentsFrom(takeValues(xcb_get_property_reply(c, p.shadow, nullptr), a.cardinal));
    return facts;
}

} // namespace

QList<QRect> X11WindowList::frontToBack() const
{
    xcb_connection_t *c = qtConnection();
    const xcb_window_t root = rootWindow(c);
    if (!root)
        return {};
    const Atoms atoms(c);

    std::optional<quint32> currentDesktop;
    if (auto v = takeValues(
            xcb_get_property_reply(
                c, requestValues(c, root, atom(c, "_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL), nullptr),
            XCB_ATOM_CARDINAL))
        currentDesktop = v->front();

    std::vector<xcb_window_t> windows = stackedWindows(c, root);
    std::reverse(windows.begin(), windows.end());
    std::vector<Pending> pending;
    pending.reserve(windows.size());
    for (xcb_window_t w : windows)
        pending.push_back(request(c, root, w, atoms));

    const auto ownPid = quint32(QCoreApplication::applicationPid());
    QList<QRect> rects;
    for (const Pending &p : pending) {
        if (auto rect = candidateRect(collect(c, p, atoms), ownPid, currentDesktop))
            rects.append(*rect);
    }
    return rects;
}

} // namespace tavolen::platform::x11
