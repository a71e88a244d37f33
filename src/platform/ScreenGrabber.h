// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <qcoro/qcorotask.h>

#include <optional>

namespace tavolen::platform {

// Why a display can never be grabbed: its colours come from a palette of
// this depth, which has no fixed meaning for a pixel.
struct PaletteDisplay {
    int depth = 0;
    bool operator==(const PaletteDisplay &) const = default;
};

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
    // Why this display can never be grabbed; nullopt when it can.
    virtual std::optional<PaletteDisplay> unsupportedDisplay() const { return std::nullopt; }
    // True when a compositor blends translucent windows with what lies below.
    // Without one, a translucent overlay would show black where it should let
    // the desktop through.
    virtual bool translucencyShowsDesktop() const = 0;
    // True when the screen cannot be read live, only as a picture of the
    // whole desktop that the desktop hands over later, perhaps after asking
    // the user (a Wayland portal). The overlay then shows that picture and
    // every capture is cut from it.
    virtual bool readsStillsOnly() const { return false; }
    // The whole desktop as one picture: the bounding rectangle of all screens'
    // geometries, at the desktop's own pixel density. nullopt when the
    // desktop refused or failed. Called on the GUI thread; never blocks it.
    virtual QCoro::Task<std::optional<QImage>> desktopStill() { co_return std::nullopt; }
};

} // namespace tavolen::platform
