// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QRectF>
#include <QSizeF>

class QScreen;

namespace tavolen::capture {

// One screen as Qt reports it on X11: the position is in native pixels, the
// size in logical pixels. So a desktop-wide rectangle can never be scaled by
// one factor; every conversion goes through the screen it lies on.
struct ScreenMetrics {
    QRect geometry;         // QScreen::geometry()
    qreal pixelRatio = 1.0; // QScreen::devicePixelRatio()

    // The screen's area in native pixels of the virtual desktop.
    QRect nativeRect() const;
};

ScreenMetrics metricsOf(const QScreen &screen);

// The native pixels to grab for `local` (logical, local to the screen):
// widened to whole pixels (origin down, far edges up) and clipped to the
// screen. Empty when nothing of it is on the screen.
QRect nativeGrabRect(QRectF local, const ScreenMetrics &screen);

// The part of `native` (a rectangle in native desktop pixels) that lies on
// the screen, in logical pixels local to it. Empty when it is not on it.
QRectF nativeToLocal(QRect native, const ScreenMetrics &screen);

// The part of a picture of the whole desktop that shows `screen`. The
// picture covers `desktop` (the bounding rectangle of the screens'
// geometries) at its own density, which may differ from any one screen's.
// Whole pixels, inside the picture.
QRect screenPartOf(QSize picture, QRect desktop, QRect screen);

// The still of `screen` cut from a picture of the whole desktop that covers
// `desktop`, the union of the screens' native rectangles, at the picture's
// own density. Its device pixel ratio is the picture's pixels per logical
// pixel of the screen.
QImage screenStill(const QImage &picture, QRect desktop, const ScreenMetrics &screen);

// `part` of a screen's native pixels mapped onto a still of that screen that
// has `scale` still pixels per native pixel (a desktop's picture may be
// denser than the screen): widened to whole pixels, inside the still.
QRect partOfStill(QRect part, qreal scale, QSize still);

// A window's size in logical pixels: native size divided by the factor of
// the screen holding its centre (the first screen's when none does).
QSizeF logicalSize(QRect native, const QList<ScreenMetrics> &screens);

} // namespace tavolen::capture
