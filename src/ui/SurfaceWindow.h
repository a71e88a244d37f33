// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPainterPath>
#include <QWidget>

namespace tavolen::ui {

// A frameless window around one glass surface (the panel's card or pill,
// the ready toast), above other windows and shown without taking the focus.
// With a compositor it is translucent and draws a soft shadow around the
// surface; without one a translucent window would show black, so it is
// opaque and cut to the surface's outline.
class SurfaceWindow : public QWidget {
public:
    // `shadowMargin`: the room around the surface that the shadow takes.
    SurfaceWindow(bool translucent, double shadowMargin, Qt::WindowFlags extraFlags = {});

    bool translucent() const { return m_translucent; }
    // Puts `view` at `surface` (global logical pixels), the window around it;
    // `outline` is the surface's shape in the view's coordinates.
    void placeSurface(QWidget *view, QRectF surface, const QPainterPath &outline);
    // The surface's place on screen (global logical pixels).
    QRectF surfaceGeometry() const;
    // The surface's outline in window coordinates.
    QRegion surfaceRegion() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double margin() const;

    bool m_translucent;
    double m_shadowMargin;
    QPainterPath m_outline;
};

} // namespace tavolen::ui
