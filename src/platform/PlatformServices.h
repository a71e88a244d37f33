#pragma once

#include "platform/ActiveWindow.h"
#include "platform/Pasteboard.h"
#include "platform/ScreenAccess.h"
#include "platform/SoundPlayer.h"

#include <memory>

namespace tavolen::platform {

// The operating-system services the logic uses, each behind its interface.
struct PlatformServices {
    std::unique_ptr<ScreenAccess> screenAccess;
    std::unique_ptr<ActiveWindow> activeWindow;
    std::unique_ptr<Pasteboard> pasteboard;
    std::unique_ptr<SoundPlayer> sound;
};

// Picks the backends by QGuiApplication::platformName(); a session we have no
// backend for gets the null ones.
PlatformServices loadPlatformServices();

} // namespace tavolen::platform
