// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QWidget>

class QPainter;
class QAbstractAnimation;

namespace tavolen::ui {

// The brand mark is drawn in a 634-unit design square, y down.
inline constexpr double kMarkDesignSize = 634;

// The corner frame: the outer outline and the speech-bubble opening, as two
// subpaths for the even-odd rule, scaled by k = min(w, h) / 634. The
// rectangle's origin is not added.
QPainterPath cframePath(QSizeF size);

// The whole mark (frame and both dots) in one colour, in the largest square
// centred in `area`.
void paintMark(QPainter &painter, const QRectF &area, const QColor &colour);

// The progress mark: the brand mark in its fixed colour, breathing between
// 0.35 and 1.0 opacity (0.8 s each way, ease-in-out) from when it is shown
// until it is destroyed.
class BreathingMark final : public QWidget {
public:
    BreathingMark(double side, QWidget *parent);
    double opacity() const { return m_opacity; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    double m_opacity;
    QAbstractAnimation *m_breath = nullptr;
};

} // namespace tavolen::ui
