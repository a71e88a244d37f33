// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ActiveWindow.h"
#include "platform/FloatingWindows.h"
#include "platform/GlobalHotKey.h"
#include "platform/ScreenAccess.h"
#include "platform/ScreenGrabber.h"
#include "platform/SoundPlayer.h"
#include "platform/WindowList.h"

namespace tavolen::platform {

// For sessions we cannot capture in (no display server we know): capture is
// reported as not permitted, so the user sees why nothing happens.
class NullScreenAccess final : public ScreenAccess {
public:
    bool isPermitted() const override { return false; }
    void request() override {}
};

class NullActiveWindow final : public ActiveWindow {
public:
    std::optional<Id> current() const override { return std::nullopt; }
    void activate(Id) override {}
};

class NullWindowList final : public WindowList {
public:
    QList<QRect> frontToBack() const override { return {}; }
    bool canList() const override { return false; }
};

class NullScreenGrabber final : public ScreenGrabber {
public:
    std::optional<QImage> grab(QRect) override { return std::nullopt; }
    bool translucencyShowsDesktop() const override { return true; }
};

// Nothing known of a compositor: windows paint opaque and cut their own corners.
class NullFloatingWindows final : public FloatingWindows {
public:
    bool compositing() const override { return false; }
    bool canBlurBehind() const override { return false; }
    void setBlurBehind(QWindow &, const QRegion &) override {}
    bool windowsPlaceThemselves() const override { return true; }
    void keepAsPanel(QWindow &) override {}
};

// A compositor that blends windows but places them itself (Wayland).
class CompositorPlacedWindows final : public FloatingWindows {
public:
    bool compositing() const override { return true; }
    bool canBlurBehind() const override { return false; }
    void setBlurBehind(QWindow &, const QRegion &) override {}
    bool windowsPlaceThemselves() const override { return false; }
    void keepAsPanel(QWindow &) override {}
};

class NullHotKey final : public GlobalHotKey {
public:
    void start(std::function<void()>) override {}
};

class NullSoundPlayer final : public SoundPlayer {
public:
    void playEvent(const QString &, double) override {}
};

} // namespace tavolen::platform
