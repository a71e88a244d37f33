// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

namespace tavolen::ui {

namespace {

// Glyphs are designed on a 20-unit square.
constexpr double kUnit = 20;

QPainterPath stroked(const QPainterPath &path, double width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path);
}

QPainterPath checkStroke()
{
    QPainterPath check;
    check.moveTo(5, 10.5);
    check.lineTo(8.5, 14);
    check.lineTo(15, 6);
    return check;
}

QPainterPath warningTriangle()
{
    QPainterPath triangle;
    triangle.moveTo(10, 2);
    triangle.lineTo(19, 18);
    triangle.lineTo(1, 18);
    triangle.closeSubpath();
    QPainterPath rounded = triangle.united(stroked(triangle, 2.4));
    QPainterPath mark;
    mark.addRoundedRect(QRectF(9, 7, 2, 6), 1, 1);
    mark.addEllipse(QPointF(10, 15.4), 1.2, 1.2);
    return rounded.subtracted(mark);
}

QPainterPath globe(double w)
{
    QPainterPath lines;
    lines.addEllipse(QPointF(10, 10), 8.5, 8.5);
    lines.addEllipse(QPointF(10, 10), 3.8, 8.5);
    lines.moveTo(1.5, 10);
    lines.lineTo(18.5, 10);
    lines.moveTo(3.2, 5.5);
    lines.lineTo(16.8, 5.5);
    lines.moveTo(3.2, 14.5);
    lines.lineTo(16.8, 14.5);
    return stroked(lines, w);
}

QPainterPath book()
{
    QPainterPath pages;
    pages.moveTo(1.5, 4);
    pages.cubicTo(4.5, 2.8, 7.5, 3, 9.3, 4.6);
    pages.lineTo(9.3, 17);
    pages.cubicTo(7.5, 15.6, 4.5, 15.4, 1.5, 16.4);
    pages.closeSubpath();
    pages.moveTo(18.5, 4);
    pages.cubicTo(15.5, 2.8, 12.5, 3, 10.7, 4.6);
    pages.lineTo(10.7, 17);
    pages.cubicTo(12.5, 15.6, 15.5, 15.4, 18.5, 16.4);
    pages.closeSubpath();
    return pages;
}

QPainterPath flame(double w)
{
    QPainterPath outline;
    outline.moveTo(10, 1.5);
    outline.cubicTo(11, 5.5, 16, 8, 16, 12.5);
    outline.cubicTo(16, 16, 13.3, 18.5, 10, 18.5);
    outline.cubicTo(6.7, 18.5, 4, 16, 4, 12.5);
    outline.cubicTo(4, 9.8, 5.6, 8.2, 6.6, 6.8);
    outline.cubicTo(7, 8.6, 7.8, 9.6, 8.8, 10);
    outline.cubicTo(8.6, 7, 9, 4, 10, 1.5);
    outline.closeSubpath();
    return stroked(outline, w);
}

QPainterPath lock(double w)
{
    QPainterPath body;
    body.addRoundedRect(QRectF(3.5, 8.5, 13, 10), 2, 2);
    QPainterPath shackle;
    shackle.moveTo(6.5, 8.5);
    shackle.lineTo(6.5, 6);
    shackle.arcTo(QRectF(6.5, 2.5, 7, 7), 180, -180);
    shackle.lineTo(13.5, 8.5);
    return body.united(stroked(shackle, w));
}

QPainterPath glyphPath(Glyph glyph, bool bold)
{
    const double w = bold ? 3 : 1.8;
    switch (glyph) {
    case Glyph::WarningTriangle:
        return warningTriangle();
    case Glyph::Globe:
        return globe(w * 0.85);
    case Glyph::Checkmark:
        return stroked(checkStroke(), w + 0.4);
    case Glyph::CheckCircle: {
        QPainterPath disc;
        disc.addEllipse(QPointF(10, 10), 9.5, 9.5);
        return disc.subtracted(stroked(checkStroke(), 2.4));
    }
    case Glyph::Book:
        return book();
    case Glyph::Flame:
        return flame(w * 0.85);
    case Glyph::Close: {
        QPainterPath cross;
        cross.moveTo(4, 4);
        cross.lineTo(16, 16);
        cross.moveTo(16, 4);
        cross.lineTo(4, 16);
        return stroked(cross, w);
    }
    case Glyph::Lock:
        return lock(w);
    }
    return {};
}

} // namespace

void paintGlyph(QPainter &painter, Glyph glyph, const QRectF &box, const QColor &colour, bool bold)
{
    const double side = std::min(box.width(), box.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    painter.scale(side / kUnit, side / kUnit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(glyphPath(glyph, bold));
    painter.restore();
}

} // namespace tavolen::ui
