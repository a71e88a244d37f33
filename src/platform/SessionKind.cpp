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
    if (type == QLatin1String("wayland"))
        return SessionKind::wayland;
    if (type == QLatin1String("x11"))
        return SessionKind::x11;
    // A session started by hand (ssh, a test, a bare compositor) names no
    // type; the display variables it was given tell.
    if (!environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty())
        return SessionKind::wayland;
    if (!environment.value(QStringLiteral("DISPLAY")).isEmpty())
        return SessionKind::x11;
    return SessionKind::unknown;
}

SessionKind currentSessionKind()
{
    return sessionKind(QProcessEnvironment::systemEnvironment());
}

void chooseWindowSystem()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    if (currentSessionKind() == SessionKind::wayland)
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace tavolen::platform
