// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/x11/X11FloatingWindows.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/XcbReply.h"

#include <QWindow>

#include <vector>

namespace tavolen::platform::x11 {

namespace {

constexpr auto kBlurRegion = "_KDE_NET_WM_BLUR_BEHIND_REGION";
constexpr quint32 kAllDesktops = 0xFFFFFFFF;

} // namespace

bool X11FloatingWindows::compositing() const
{
    return m_onWayland || hasCompositor(qtConnection());
}

bool X11FloatingWindows::canBlurBehind() const
{
    xcb_connection_t *c = qtConnection();
    if (!compositing())
        return false;
    // KWin's blur effect announces itself with a property of this name on the root window.
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, rootWindow(c), atom(c, kBlurRegion), XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
        nullptr));
    return reply && reply->type != XCB_NONE;
}

void X11FloatingWindows::setBlurBehind(QWindow &window, const QRegion &region)
{
    xcb_connection_t *c = qtConnection();
    if (!c || !window.handle())
        return;
    const double ratio = window.devicePixelRatio();
    std::vector<quint32> rects;
    for (const QRect &r : region) {
        rects.push_back(quint32(qRound(r.x() * ratio)));
        rects.push_back(quint32(qRound(r.y() * ratio)));
        rects.push_back(quint32(qRound(r.width() * ratio)));
        rects.push_back(quint32(qRound(r.height() * ratio)));
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()), atom(c, kBlurRegion),
                        XCB_ATOM_CARDINAL, 32, quint32(rects.size()), rects.data());
    xcb_flush(c);
}

void X11FloatingWindows::keepAsPanel(QWindow &window)
{
    if (m_onWayland) {
        // Set before mapping, when an X server takes it.
        if (!window.isVisible())
            window.setFlags(window.flags() | Qt::X11BypassWindowManagerHint);
        return;
    }
    xcb_connection_t *c = qtConnection();
    if (!c || !window.handle())
        return;
    const auto id = xcb_window_t(window.winId());
    const xcb_window_t root = rootWindow(c);
    const auto request = [&](const char *type, quint32 a, quint32 b = 0, quint32 d = 0) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = id;
        event.type = atom(c, type);
        event.data.data32[0] = a;
        event.data.data32[1] = b;
        event.data.data32[2] = d;
        event.data.data32[3] = 2; // source: a pager, i.e. the user's own choice
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&event));
    };
    const xcb_atom_t skipTaskbar = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t skipPager = atom(c, "_NET_WM_STATE_SKIP_PAGER");
    if (!window.isVisible()) {
        // Before mapping the window manager reads properties: add ours to
        // those Qt has set.
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom(c, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL, 32,
                            1, &kAllDesktops);
        const xcb_atom_t states[] = {skipTaskbar, skipPager};
        xcb_change_property(c, XCB_PROP_MODE_APPEND, id, atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2,
                            states);
    } else {
        // Once mapped it only listens to requests.
        request("_NET_WM_DESKTOP", kAllDesktops);
        request("_NET_WM_STATE", 1 /* add */, skipTaskbar, skipPager);
    }
    xcb_flush(c);
}

} // namespace tavolen::platform::x11
