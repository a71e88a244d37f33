// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/x11/X11Connection.h"

#include "platform/x11/XcbReply.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QHash>
#include <QMutex>

namespace tavolen::platform::x11 {

xcb_connection_t *qtConnection()
{
    if (!qGuiApp)
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t *connection)
{
    if (!connection)
        return 0;
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    return it.rem > 0 ? it.data->root : 0;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    static QMutex mutex;
    static QHash<QByteArray, xcb_atom_t> cache;
    const QByteArray key(name);
    {
        QMutexLocker lock(&mutex);
        if (auto it = cache.constFind(key); it != cache.constEnd())
            return *it;
    }
    if (!connection)
        return 0;
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(key.size()), name), nullptr));
    if (!reply)
        return 0;
    const xcb_atom_t value = reply->atom;
    QMutexLocker lock(&mutex);
    cache.insert(key, value);
    return value;
}

std::optional<std::vector<quint32>> takeValues(xcb_get_property_reply_t *r, xcb_atom_t type)
{
    const XcbReply<xcb_get_property_reply_t> reply(r);
    if (!reply || reply->type != type || reply->format != 32 || reply->value_len == 0)
        return std::nullopt;
    const auto *data = static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
    return std::vector<quint32>(data, data + reply->value_len);
}

xcb_get_property_cookie_t requestValues(xcb_connection_t *connection, xcb_window_t window,
                                        xcb_atom_t property, xcb_atom_t type)
{
    // 4096 items is far more than any list property we read holds.
    return xcb_get_property(connection, 0, window, property, type, 0, 4096);
}

bool hasCompositor(xcb_connection_t *c)
{
    if (!c)
        return false;
    // A compositing manager owns this selection for the screen it composites.
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom(c, "_NET_WM_CM_S0")), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

} // namespace tavolen::platform::x11
