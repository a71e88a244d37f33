// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <xcb/xcb.h>

#include <optional>
#include <vector>

namespace tavolen::platform::x11 {

// Qt's own connection to the X server, reached through Qt's public native
// interface. Null when the application does not run on xcb.
xcb_connection_t *qtConnection();
// The root window of Qt's default X screen (0 without a connection).
xcb_window_t rootWindow(xcb_connection_t *connection);
// The atom of `name`, created when the server does not know it yet. Cached
// for the life of the process; 0 when the server cannot be asked.
xcb_atom_t atom(xcb_connection_t *connection, const char *name);

// True when a compositing manager runs on the default screen.
bool hasCompositor(xcb_connection_t *connection);

// The 32-bit items of a property reply of the given format-32 type, or
// nullopt when the reply is missing, of another type or empty. Takes
// ownership of `reply`.
std::optional<std::vector<quint32>> takeValues(xcb_get_property_reply_t *reply, xcb_atom_t type);

// Sends a request for the whole of a 32-bit list property.
xcb_get_property_cookie_t requestValues(xcb_connection_t *connection, xcb_window_t window,
                                        xcb_atom_t property, xcb_atom_t type);

} // namespace tavolen::platform::x11
