#include "platform/CanberraSoundPlayer.h"
#include "platform/NullPlatform.h"
#include "platform/PlatformServices.h"
#include "platform/QtPasteboard.h"

#include <QGuiApplication>

namespace tavolen::platform {

PlatformServices loadPlatformServices()
{
    PlatformServices services;
    services.pasteboard = std::make_unique<QtPasteboard>();
    services.sound = std::make_unique<CanberraSoundPlayer>();
    services.screenAccess = std::make_unique<NullScreenAccess>();
    services.activeWindow = std::make_unique<NullActiveWindow>();
    return services;
}

} // namespace tavolen::platform
