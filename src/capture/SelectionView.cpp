// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/SelectionView.h"

#include "capture/SelectionHint.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace tavolen::capture {

namespace {

const QColor kBrand(125, 108, 237);

QColor withAlpha(QColor color, qreal alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

} // namespace

SelectionView::SelectionView(SelectionModel model, QImage frozen, QWidget *parent)
    : QWidget(parent), m_model(std::move(model)), m_frozen(std::move(frozen))
{
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent, !m_frozen.isNull());
}

void SelectionView::hoverAt(QPointF local)
{
    if (m_model.hover(local))
        update();
}

void SelectionView::clearHover()
{
    if (m_model.clearHover())
        update();
}

void SelectionView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton) {
        if (m_model.drag(event->position()))
            update();
        return;
    }
    // Only the view under the pointer hears of its moves; it tells the rest.
    if (onHovered)
        onHovered();
    if (m_model.hover(event->position()))
        update();
}

void SelectionView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_model.press(event->position());
}

void SelectionView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_model.drag(event->position());
    const SelectionModel::Release outcome = m_model.release();
    if (outcome.kind == SelectionModel::Release::Kind::Ignored || !onRelease)
        return;
    // The callback closes this view's window; take it before calling.
    const auto report = onRelease;
    report(outcome.kind == SelectionModel::Release::Kind::Selected ? std::optional<QRectF>(outcome.rect)
                                                                   : std::nullopt);
}

void SelectionView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    if (m_frozen.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(bounds, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        painter.drawImage(bounds, m_frozen);
    }

    const bool dragging = m_model.isDragging();
    const std::optional<QRectF> cutout = dragging ? std::optional(m_model.dragRect()) : m_model.hoverRect();
    QPainterPath dim;
    dim.setFillRule(Qt::OddEvenFill);
    dim.addRect(bounds);
    if (cutout)
        dim.addRect(*cutout);
    painter.fillPath(dim, QColor(0, 0, 0, 64));

    if (dragging) {
        painter.setPen(QPen(withAlpha(Qt::white, 0.9), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_model.dragRect());
    } else if (cutout) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(withAlpha(kBrand, 0.25), 6));
        painter.drawRoundedRect(cutout->adjusted(-1, -1, 1, 1), 13, 13);
        painter.setPen(QPen(withAlpha(kBrand, 0.95), 2.5));
        painter.drawRoundedRect(cutout->adjusted(1, 1, -1, -1), 12, 12);
    }
    paintHint(painter);
}

void SelectionView::paintHint(QPainter &painter)
{
    QFont font = this->font();
    font.setPixelSize(12);
    font.setWeight(QFont::Medium);
    const QFontMetricsF metrics(font);
    const QString text = hint();
    const QSizeF textSize(metrics.horizontalAdvance(text), metrics.height());
    const QRectF pill = hintPillRect(textSize, size());

    QPainterPath path;
    path.addRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    painter.fillPath(path, QColor(0, 0, 0, 128));
    painter.strokePath(path, QPen(withAlpha(Qt::white, 0.14), 1));
    painter.setFont(font);
    painter.setPen(withAlpha(Qt::white, 0.95));
    painter.drawText(QRectF(pill.left() + 14, pill.top() + 7, textSize.width(), textSize.height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace tavolen::capture
