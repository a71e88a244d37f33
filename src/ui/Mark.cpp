// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Mark.h"

#include "ui/Tokens.h"

#include <QAbstractAnimation>
#include <QEasingCurve>
#include <QPainter>

#include <functional>

namespace tavolen::ui {

QPainterPath cframePath(QSizeF size)
{
    const double k = std::min(size.width(), size.height()) / kMarkDesignSize;
    const auto p = [k](double x, double y) { return QPointF(k * x, k * y); };
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);

    path.moveTo(p(240.5, 162));
    path.lineTo(p(390.5, 162));
    path.cubicTo(p(479.2, 162), p(551, 233.8), p(551, 322.5));
    path.cubicTo(p(551, 411.2), p(479.2, 483), p(390.5, 483));
    path.lineTo(p(240.5, 483));
    path.cubicTo(p(151.8, 483), p(80, 411.2), p(80, 322.5));
    path.cubicTo(p(80, 233.8), p(151.8, 162), p(240.5, 162));
    path.closeSubpath();

    path.moveTo(p(546.299, 283.75));
    path.lineTo(p(469, 284));
    path.cubicTo(p(458, 250), p(433, 227), p(391, 227));
    path.lineTo(p(243, 227));
    path.cubicTo(p(196, 227), p(164, 263), p(164, 322));
    path.cubicTo(p(164, 382), p(199, 411), p(242, 411));
    path.lineTo(p(255, 411));
    path.lineTo(p(249, 449));
    path.lineTo(p(318, 411));
    path.lineTo(p(392, 411));
    path.cubicTo(p(433, 411), p(457, 389), p(470, 360));
    path.lineTo(p(546.6, 360));
    path.cubicTo(p(549.3, 349.1), p(551, 336), p(551, 322.5));
    path.cubicTo(p(551, 309.1), p(549.4, 296.1), p(546.299, 283.75));
    path.closeSubpath();
    return path;
}

void paintMark(QPainter &painter, const QRectF &area, const QColor &colour)
{
    const double s = std::min(area.width(), area.height());
    const double k = s / kMarkDesignSize;
    const QPointF origin(area.center().x() - s / 2, area.center().y() - s / 2);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.translate(origin);
    painter.drawPath(cframePath(QSizeF(s, s)));
    const double radius = 47 * k / 2;
    painter.drawEllipse(QPointF(244.5 * k, 313 * k), radius, radius);
    painter.drawEllipse(QPointF(393.5 * k, 313 * k), radius, radius);
    painter.restore();
}

namespace {

// Forward then back, 0.8 s each way, for as long as it runs.
class Breath final : public QAbstractAnimation {
public:
    Breath(BreathingMark *mark, std::function<void(double)> apply)
        : QAbstractAnimation(mark), m_apply(std::move(apply))
    {
        setLoopCount(-1);
    }
    int duration() const override { return 2 * tokens::motion::breathMs; }

protected:
    void updateCurrentTime(int t) override
    {
        const int half = tokens::motion::breathMs;
        const double progress = t < half ? double(t) / half : double(2 * half - t) / half;
        const double eased = QEasingCurve(QEasingCurve::InOutQuad).valueForProgress(progress);
        m_apply(tokens::motion::breathLow + (1 - tokens::motion::breathLow) * eased);
    }

private:
    std::function<void(double)> m_apply;
};

} // namespace

BreathingMark::BreathingMark(double side, QWidget *parent)
    : QWidget(parent), m_opacity(tokens::motion::breathLow)
{
    setFixedSize(qRound(side), qRound(side));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BreathingMark::showEvent(QShowEvent *)
{
    if (m_breath)
        return;
    m_breath = new Breath(this, [this](double opacity) {
        m_opacity = opacity;
        update();
    });
    m_breath->start();
}

void BreathingMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    paintMark(painter, rect(), QColor::fromRgb(tokens::color::progressMark));
}

} // namespace tavolen::ui
