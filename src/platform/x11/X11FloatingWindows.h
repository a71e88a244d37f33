// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/FloatingWindows.h"

namespace tavolen::platform::x11 {

// Compositor queries and window hints through EWMH and KWin's blur property.
class X11FloatingWindows final : public FloatingWindows {
public:
    // `onWaylandCompositor`: the X server is XWayland. The Wayland compositor
    // then blends every X window's alpha, and its window management would
    // tile or centre a managed panel (sway tiles it beside the user's
    // windows), so panels bypass it and place themselves.
    explicit X11FloatingWindows(bool onWaylandCompositor = false) : m_onWayland(onWaylandCompositor) {}
    bool compositing() const override;
    bool canBlurBehind() const override;
    void setBlurBehind(QWindow &window, const QRegion &region) override;
    bool windowsPlaceThemselves() const override { return true; }
    void keepAsPanel(QWindow &window) override;

private:
    bool m_onWayland = false;
};

} // namespace tavolen::platform::x11
