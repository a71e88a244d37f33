// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Log.h"
#include "platform/CanberraSoundPlayer.h"
#include "platform/NullPlatform.h"
#include "platform/PlatformServices.h"
#include "platform/QtClipboard.h"
#include "platform/SessionKind.h"
#include "platform/WlCopyClipboard.h"
#include "platform/portal/PortalHotKey.h"
#include "platform/portal/PortalScreenshot.h"
#include "platform/x11/X11ActiveWindow.h"
#include "platform/x11/X11FloatingWindows.h"
#include "platform/x11/X11HotKey.h"
#include "platform/x11/X11ScreenAccess.h"
#include "platform/x11/X11ScreenGrabber.h"
#include "platform/x11/X11WindowList.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QProcessEnvironment>

namespace tavolen::platform {

PlatformServices loadPlatformServices()
{
    PlatformServices services;
    services.sound = std::make_unique<CanberraSoundPlayer>();
    const SessionKind session = currentSessionKind();
    const bool onX = QGuiApplication::platformName() == QLatin1String("xcb");
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const auto var = [&env](const char *name) {
        return QStringLiteral("%1=%2").arg(QLatin1String(name), env.value(QLatin1String(name)));
    };
    qCInfo(lcPlatform).noquote() << "session" << sessionName(session) << "from" << var("TAVOLEN_SESSION")
                                 << var("XDG_SESSION_TYPE") << var("WAYLAND_DISPLAY") << var("DISPLAY")
                                 << "on the Qt platform" << QGuiApplication::platformName();
    if (session == SessionKind::wayland) {
        // Pixels and the trigger through the portals; windows through XWayland
        // where it runs (see chooseWindowSystem), else where the compositor
        // puts them. No window list reaches Wayland clients.
        const QDBusConnection bus = QDBusConnection::sessionBus();
        services.clipboard = std::make_unique<WlCopyClipboard>();
        auto access = std::make_shared<portal::ScreenshotAccess>();
        services.screenAccess = std::make_unique<portal::PortalScreenAccess>(bus, access);
        services.screenGrabber = std::make_unique<portal::PortalScreenGrabber>(bus, access);
        services.activeWindow = std::make_unique<NullActiveWindow>();
        services.windowList = std::make_unique<NullWindowList>();
        if (onX)
            services.floatingWindows = std::make_unique<x11::X11FloatingWindows>(true);
        else
            services.floatingWindows = std::make_unique<CompositorPlacedWindows>();
        // Where the desktop has no shortcuts portal, the user binds
        // `tavolen capture` in its own keyboard settings.
        services.hotKey = std::make_unique<portal::PortalHotKey>(bus);
        qCInfo(lcPlatform) << "backends: screenshot portal, shortcuts portal, wl-copy clipboard,"
                           << (onX ? "panels through XWayland" : "panels placed by the compositor")
                           << "(Wayland session)";
    } else if (onX && session != SessionKind::unknown) {
        services.screenAccess = std::make_unique<x11::X11ScreenAccess>();
        services.activeWindow = std::make_unique<x11::X11ActiveWindow>();
        services.windowList = std::make_unique<x11::X11WindowList>();
        services.screenGrabber = std::make_unique<x11::X11ScreenGrabber>();
        services.floatingWindows = std::make_unique<x11::X11FloatingWindows>();
        services.hotKey = std::make_unique<x11::X11HotKey>();
        services.clipboard = std::make_unique<QtClipboard>();
        qCInfo(lcPlatform) << "backends: X11 grab, window list, hot key and active window; Qt clipboard"
                           << "(X11 session on xcb)";
    } else {
        services.screenAccess = std::make_unique<NullScreenAccess>();
        services.activeWindow = std::make_unique<NullActiveWindow>();
        services.windowList = std::make_unique<NullWindowList>();
        services.screenGrabber = std::make_unique<NullScreenGrabber>();
        services.floatingWindows = std::make_unique<NullFloatingWindows>();
        services.hotKey = std::make_unique<NullHotKey>();
        services.clipboard = std::make_unique<QtClipboard>();
        qCInfo(lcPlatform) << "backends: none, screen capture not permitted"
                           << (session == SessionKind::unknown ? "(no X11 or Wayland session found)"
                                                               : "(an X11 session, but Qt is not on xcb)");
    }
    return services;
}

} // namespace tavolen::platform
