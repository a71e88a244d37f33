// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SessionKind.h"

namespace tavolen::platform {

SessionKind sessionKind(const QProcessEnvironment &environment)
{
    const QString forced = environment.value(QStringLiteral("TAVOLEN_SESSION")).trimmed().toLower();
    if (forced == QLatin1String("x11"))
        return SessionKind::x11;
    if (forced == QLatin1String("wayland"))
        return SessionKind::wayland;
    if (forced == QLatin1String("none"))
        return SessionKind::unknown;
    const QString type = environment.value(QStringLiteral("XDG_SESSION_TYPE")).trimmed().toLower();
    const bool wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    const bool x = !environment.value(QStringLiteral("DISPLAY")).isEmpty();
    // A Wayland session gives its clients WAYLAND_DISPLAY. Without it, a
    // session that calls itself Wayland is an X server started inside one
    // (Xephyr, Xvfb), whose variables it inherited; a session started by hand
    // (ssh, a bare compositor) names no type at all.
    if (type == QLatin1String("x11"))
        return SessionKind::x11;
    if (wayland)
        return SessionKind::wayland;
    if (x)
        return SessionKind::x11;
    return SessionKind::unknown;
}

SessionKind currentSessionKind()
{
    return sessionKind(QProcessEnvironment::systemEnvironment());
}

const char *sessionName(SessionKind kind)
{
    switch (kind) {
    case SessionKind::x11:
        return "x11";
    case SessionKind::wayland:
        return "wayland";
    case SessionKind::unknown:
        break;
    }
    return "none";
}

bool hasGraphicalSession(const QProcessEnvironment &environment)
{
    const QString platform = environment.value(QStringLiteral("QT_QPA_PLATFORM")).trimmed();
    // Qt takes the first plugin of a list that loads; only xcb and wayland
    // need a display server.
    const QString first = platform.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0);
    if (!platform.isEmpty() && first != QLatin1String("xcb") && !first.startsWith(QLatin1String("wayland")))
        return true;
    return !environment.value(QStringLiteral("DISPLAY")).isEmpty() ||
           !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
}

void chooseWindowSystem()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    if (currentSessionKind() == SessionKind::wayland)
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace tavolen::platform
