// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <optional>

namespace tavolen::platform::portal {

inline constexpr auto kPortalService = "org.freedesktop.portal.Desktop";
inline constexpr auto kPortalPath = "/org/freedesktop/portal/desktop";

// How a portal request ended, as its Response signal says.
struct PortalResponse {
    enum Code : uint { success = 0, cancelled = 1, failed = 2 };
    uint code = failed;
    QVariantMap results{};
    // The unique bus name of the portal that answered, for listening to its
    // signals (given the well-known name, Qt would look it up blocking).
    QString portal{};
};

// A portal method that answers later: `arguments` ends with the options map,
// into which the request's handle token is put. The Response is listened for
// before the call is made, so a fast portal cannot answer unheard. nullopt
// when the call itself fails (no portal, no such interface) or no Response
// comes within `timeout`; the request is then closed, so a dialog the portal
// still shows goes away and nothing is written for it later.
QCoro::Task<std::optional<PortalResponse>> requestFromPortal(QDBusConnection bus, QString interface,
                                                             QString method, QVariantList arguments,
                                                             std::chrono::milliseconds timeout);

// What the portal says of one of its interfaces.
struct PortalInterface {
    // Its version; nullopt when it is not offered or the portal did not answer.
    std::optional<uint> version;
    // True only when the bus or the portal said for certain that it is not
    // there (no portal installed, no such interface), not after a time-out:
    // at login a portal may take a while to start.
    bool missing = false;
};

// Asks for `interface`'s version, starting the portal if it is not running.
// Awaited, never blocking.
QCoro::Task<PortalInterface> portalInterfaceVersion(QDBusConnection bus, QString interface);

// A token for handle_token / session_handle_token options: unique within
// this process, made of the characters an object path allows.
QString nextToken();

} // namespace tavolen::platform::portal
