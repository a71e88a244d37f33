#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <optional>

namespace tavolen::platform {

// Reads pixels off the screen.
class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;
    // The pixels of `nativeRect` (native pixels of the virtual desktop) as
    // they are on screen now, without the cursor. nullopt when the rectangle
    // is not on the desktop or the display server refuses. Safe to call from
    // a worker thread; the image may borrow display-server memory, so drop it
    // as soon as it has been used.
    virtual std::optional<QImage> grab(QRect nativeRect) = 0;
    // Does once, ahead of the first grab, the set-up a grab would otherwise
    // pay for on first use.
    virtual void prepare() {}
    // Frees the memory kept since the last grab to make the next one fast.
    virtual void releaseSpareMemory() {}
    // Why this display can never be grabbed, in the user's words; nullopt
    // when it can.
    virtual std::optional<QString> unsupportedReason() const { return std::nullopt; }
    // True when a compositor blends translucent windows with what lies below.
    // Without one, a translucent overlay would show black where it should let
    // the desktop through.
    virtual bool translucencyShowsDesktop() const = 0;
};

} // namespace tavolen::platform
