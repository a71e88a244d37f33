// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPalette>
#include <QRectF>

class QPainter;

namespace tavolen::ui {

// What lies behind a glass surface decides how dense its fill must be.
enum class Backdrop {
    Blurred,     // a compositor blurs what is behind the window
    Translucent, // a compositor blends it, unblurred
    Opaque,      // no compositor: the window shows black where it is not painted
};

// The frosted card: a rounded fill in the appearance's glass colour, then an
// inner border of width 1, white fading from 0.38 at the top to 0.05 at the bottom.
void paintGlass(QPainter &painter, const QRectF &rect, double radius, const QPalette &palette,
                Backdrop backdrop);
// The same on a capsule (radius half the shorter side).
void paintGlassCapsule(QPainter &painter, const QRectF &rect, const QPalette &palette, Backdrop backdrop);
// A soft shadow around `card`, fading out over `spread` pixels.
void paintShadow(QPainter &painter, const QRectF &card, double radius, double spread);
// An inner border (the stroke lies inside the shape) of `width`.
void strokeInside(QPainter &painter, const QRectF &rect, double radius, double width, const QBrush &brush);

} // namespace tavolen::ui
