// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/ScreenGeometry.h"

#include <QList>
#include <QRect>
#include <QRectF>

namespace tavolen::capture {

// The smallest window a click can pick, in logical pixels.
inline constexpr qreal kMinTargetWidth = 80;
inline constexpr qreal kMinTargetHeight = 60;

// The windows large enough to pick (native rectangles, order kept).
QList<QRect> pickableWindows(const QList<QRect> &frontToBack, const QList<ScreenMetrics> &screens);

// The windows' parts on one screen, local to it and clipped to it, order
// kept; windows with nothing on the screen are left out.
QList<QRectF> targetsOnScreen(const QList<QRect> &frontToBack, const ScreenMetrics &screen);

} // namespace tavolen::capture
