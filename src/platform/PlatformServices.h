// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ActiveWindow.h"
#include "platform/Clipboard.h"
#include "platform/FloatingWindows.h"
#include "platform/GlobalHotKey.h"
#include "platform/ScreenAccess.h"
#include "platform/ScreenGrabber.h"
#include "platform/SoundPlayer.h"
#include "platform/WindowList.h"

#include <memory>

namespace tavolen::platform {

// The operating-system services the logic uses, each behind its interface.
struct PlatformServices {
    std::unique_ptr<ScreenAccess> screenAccess;
    std::unique_ptr<ActiveWindow> activeWindow;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<SoundPlayer> sound;
    std::unique_ptr<WindowList> windowList;
    std::unique_ptr<ScreenGrabber> screenGrabber;
    std::unique_ptr<FloatingWindows> floatingWindows;
    std::unique_ptr<GlobalHotKey> hotKey;
};

// Picks the backends by the session's kind (see SessionKind.h) and
// QGuiApplication::platformName(); a session we have no backend for gets the
// null ones.
PlatformServices loadPlatformServices();

} // namespace tavolen::platform
