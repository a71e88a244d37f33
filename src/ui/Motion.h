// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QGraphicsEffect>
#include <QObject>
#include <QRectF>

class QPainter;
class QWidget;

namespace tavolen::ui {

class SpringAnimation;

// The hover lift of a button: while the pointer is over `widget` it grows to
// 1.05 about its centre and brightens by 0.06, both on one spring.
class HoverLift final : public QObject {
public:
    explicit HoverLift(QWidget *widget);

    // 0 at rest, 1 fully lifted.
    double progress() const { return m_progress; }
    bool hovering() const { return m_hovering; }
    // Scales the painter about the centre of `rect` by the current lift.
    void applyScale(QPainter &painter, const QRectF &rect) const;
    QColor applyBrightness(const QColor &colour) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_widget;
    SpringAnimation *m_spring;
    double m_progress = 0;
    bool m_hovering = false;
};

// The entrance of a freshly built card: from opacity 0 and 0.97 scale about
// its top centre to full size, on a spring started when it is first shown.
// Removes itself once settled, so the card paints directly again.
class EntranceEffect final : public QGraphicsEffect {
public:
    // Installs the effect on `widget` (which takes ownership).
    static EntranceEffect *install(QWidget *widget);
    double progress() const { return m_progress; }

protected:
    void draw(QPainter *painter) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit EntranceEffect(QWidget *widget);
    QWidget *m_widget;
    SpringAnimation *m_spring;
    double m_progress = 0;
};

} // namespace tavolen::ui
