#pragma once

#include "platform/FloatingWindows.h"

namespace tavolen::platform::x11 {

// Compositor queries and window hints through EWMH and KWin's blur property.
class X11FloatingWindows final : public FloatingWindows {
public:
    bool compositing() const override;
    bool canBlurBehind() const override;
    void setBlurBehind(QWindow &window, const QRegion &region) override;
    bool windowsPlaceThemselves() const override { return true; }
    void keepAsPanel(QWindow &window) override;
};

} // namespace tavolen::platform::x11
