// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Glass.h"

#include "ui/Theme.h"
#include "ui/Tokens.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace tavolen::ui {

namespace {

double fillAlpha(Backdrop backdrop)
{
    switch (backdrop) {
    case Backdrop::Blurred:
        return tokens::color::glassAlphaBlurred;
    case Backdrop::Translucent:
        return tokens::color::glassAlpha;
    case Backdrop::Opaque:
        return 1;
    }
    return 1;
}

} // namespace

void strokeInside(QPainter &painter, const QRectF &rect, double radius, double width, const QBrush &brush)
{
    const double half = width / 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(brush, width));
    painter.drawRoundedRect(rect.adjusted(half, half, -half, -half), std::max(radius - half, 0.0),
                            std::max(radius - half, 0.0));
    painter.restore();
}

void paintGlass(QPainter &painter, const QRectF &rect, double radius, const QPalette &palette,
                Backdrop backdrop)
{
    namespace c = tokens::color;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(Theme::resolve(c::glassFill, palette), fillAlpha(backdrop)));
    painter.drawRoundedRect(rect, radius, radius);
    painter.restore();

    QLinearGradient border(rect.center().x(), rect.top(), rect.center().x(), rect.bottom());
    border.setColorAt(0, withAlpha(Qt::white, c::glassBorderTop));
    border.setColorAt(1, withAlpha(Qt::white, c::glassBorderBottom));
    strokeInside(painter, rect, radius, tokens::line::glassBorder, border);
}

void paintGlassCapsule(QPainter &painter, const QRectF &rect, const QPalette &palette, Backdrop backdrop)
{
    paintGlass(painter, rect, std::min(rect.width(), rect.height()) / 2, palette, backdrop);
}

void paintShadow(QPainter &painter, const QRectF &card, double radius, double spread)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    // Concentric rings, densest at the card's edge and a little lower than
    // the card, as light from above would cast it.
    const int rings = int(std::ceil(spread));
    for (int i = rings; i >= 1; --i) {
        const double t = double(i) / rings;
        const double alpha = tokens::color::shadowAlpha * std::pow(1 - t, 2.2) / 3;
        painter.setPen(QPen(QColor(0, 0, 0, int(255 * alpha)), 1.0));
        const QRectF ring = card.adjusted(-i + 0.5, -i + 0.5 + i * 0.25, i - 0.5, i - 0.5 + i * 0.25);
        painter.drawRoundedRect(ring, radius + i, radius + i);
    }
    painter.restore();
}

} // namespace tavolen::ui
