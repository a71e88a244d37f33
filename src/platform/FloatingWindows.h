// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRegion>

class QWindow;

namespace tavolen::platform {

// What the desktop offers a small floating window beyond what Qt sets.
class FloatingWindows {
public:
    virtual ~FloatingWindows() = default;
    // True when a compositor blends translucent windows with what lies below;
    // without one, unpainted parts of a translucent window show black.
    virtual bool compositing() const = 0;
    // True when the compositor blurs what lies behind a window that asks.
    virtual bool canBlurBehind() const = 0;
    // Asks for the area behind `region` (window coordinates) to be blurred.
    virtual void setBlurBehind(QWindow &window, const QRegion &region) = 0;
    // True when a window may place itself (X11); where only the compositor
    // places windows (Wayland), a drag is handed to it instead.
    virtual bool windowsPlaceThemselves() const = 0;
    // Marks a created window as a floating panel: on every workspace and
    // out of taskbars and pagers. Called before and again after it is shown.
    virtual void keepAsPanel(QWindow &window) = 0;
};

// Shows `window`, a made but hidden widget, as a floating panel: marked
// before it is mapped (what the window manager reads then) and again after
// (what it only hears as requests).
template <class Widget> void showAsPanel(FloatingWindows &windows, Widget &window)
{
    window.winId();
    windows.keepAsPanel(*window.windowHandle());
    window.show();
    windows.keepAsPanel(*window.windowHandle());
}

} // namespace tavolen::platform
