// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Motion.h"

#include "ui/Spring.h"
#include "ui/Theme.h"
#include "ui/Tokens.h"

#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tavolen::ui {

HoverLift::HoverLift(QWidget *widget) : QObject(widget), m_widget(widget)
{
    m_spring = new SpringAnimation(
        tokens::motion::hoverLift, 0,
        [this](double v) {
            m_progress = v;
            m_widget->update();
        },
        this);
    widget->installEventFilter(this);
    widget->setAttribute(Qt::WA_Hover);
}

bool HoverLift::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        m_hovering = event->type() == QEvent::Enter;
        m_spring->animateTo(m_hovering ? 1 : 0);
    }
    return false;
}

void HoverLift::applyScale(QPainter &painter, const QRectF &rect) const
{
    const double scale = 1 + (tokens::motion::liftScale - 1) * m_progress;
    painter.translate(rect.center());
    painter.scale(scale, scale);
    painter.translate(-rect.center());
}

QColor HoverLift::applyBrightness(const QColor &colour) const
{
    return brighten(colour, tokens::motion::liftBrightness * m_progress);
}

EntranceEffect *EntranceEffect::install(QWidget *widget)
{
    auto *effect = new EntranceEffect(widget);
    widget->setGraphicsEffect(effect);
    return effect;
}

EntranceEffect::EntranceEffect(QWidget *widget) : QGraphicsEffect(widget), m_widget(widget)
{
    m_spring = new SpringAnimation(
        tokens::motion::entrance, 0,
        [this](double v) {
            m_progress = v;
            update();
            if (v >= 1 && m_spring && m_spring->target() >= 1 &&
                m_spring->state() != QAbstractAnimation::Running) {
                // Deleting the effect from its own animation's tick is unsafe; defer it.
                QPointer<QWidget> widget = m_widget;
                QTimer::singleShot(0, widget, [widget] { widget->setGraphicsEffect(nullptr); });
            }
        },
        this);
    widget->installEventFilter(this);
}

bool EntranceEffect::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Show && m_spring->target() < 1)
        m_spring->animateTo(1);
    return false;
}

void EntranceEffect::draw(QPainter *painter)
{
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
    const double scale = tokens::motion::entranceScale + (1 - tokens::motion::entranceScale) * m_progress;
    const QRectF bounds(offset, pixmap.deviceIndependentSize());
    painter->save();
    painter->setOpacity(painter->opacity() * std::clamp(m_progress, 0.0, 1.0));
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->translate(bounds.center().x(), bounds.top());
    painter->scale(scale, scale);
    painter->translate(-bounds.center().x(), -bounds.top());
    painter->drawPixmap(offset, pixmap);
    painter->restore();
}

} // namespace tavolen::ui
