// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/x11/X11ActiveWindow.h"

#include "platform/x11/X11Connection.h"

namespace tavolen::platform::x11 {

namespace {

bool hasWindowManager(xcb_connection_t *c, xcb_window_t root)
{
    return takeValues(
               xcb_get_property_reply(
                   c, requestValues(c, root, atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW), nullptr),
               XCB_ATOM_WINDOW)
        .has_value();
}

} // namespace

std::optional<ActiveWindow::Id> X11ActiveWindow::current() const
{
    xcb_connection_t *c = qtConnection();
    const xcb_window_t root = rootWindow(c);
    if (!root)
        return std::nullopt;
    const auto active =
        takeValues(xcb_get_property_reply(
                       c, requestValues(c, root, atom(c, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW), nullptr),
                   XCB_ATOM_WINDOW);
    if (!active || active->front() == XCB_WINDOW_NONE)
        return std::nullopt;
    return active->front();
}

void X11ActiveWindow::activate(Id window)
{
    xcb_connection_t *c = qtConnection();
    const xcb_window_t root = rootWindow(c);
    if (!root || window == XCB_WINDOW_NONE)
        return;
    const auto target = xcb_window_t(window);
    if (!hasWindowManager(c, root)) {
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, target, XCB_CURRENT_TIME);
        xcb_flush(c);
        return;
    }
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = target;
    event.type = atom(c, "_NET_ACTIVE_WINDOW");
    // Source 2 ("pager"): the request stands for the user's own choice, so
    // focus-stealing prevention lets it through.
    event.data.data32[0] = 2;
    event.data.data32[1] = XCB_CURRENT_TIME;
    event.data.data32[2] = XCB_WINDOW_NONE;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(c);
}

} // namespace tavolen::platform::x11
