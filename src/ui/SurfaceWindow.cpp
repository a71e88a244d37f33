// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/SurfaceWindow.h"

#include "ui/Glass.h"
#include "ui/Tokens.h"

#include <QPainter>

namespace tavolen::ui {

// A plain window, not a tool window: some window managers hide an
// application's tool windows while it is not active, and these are shown
// precisely while another application is.
SurfaceWindow::SurfaceWindow(bool translucent, double shadowMargin, Qt::WindowFlags extraFlags)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::NoDropShadowWindowHint | extraFlags),
      m_translucent(translucent), m_shadowMargin(shadowMargin)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (translucent)
        setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(QStringLiteral("Tavolen"));
}

double SurfaceWindow::margin() const
{
    return m_translucent ? m_shadowMargin : 0;
}

void SurfaceWindow::placeSurface(QWidget *view, QRectF surface, const QPainterPath &outline)
{
    const double m = margin();
    const QRect outer = surface.adjusted(-m, -m, m, m).toRect();
    m_outline = outline.translated(m, m);
    if (view)
        view->setGeometry(QRect(QPoint(int(m), int(m)), outer.size() - QSize(int(2 * m), int(2 * m))));
    setGeometry(outer);
    if (!m_translucent)
        setMask(surfaceRegion());
    update();
}

QRectF SurfaceWindow::surfaceGeometry() const
{
    const double m = margin();
    return QRectF(geometry()).adjusted(m, m, -m, -m);
}

QRegion SurfaceWindow::surfaceRegion() const
{
    return QRegion(m_outline.toFillPolygon().toPolygon());
}

void SurfaceWindow::paintEvent(QPaintEvent *)
{
    if (!m_translucent || m_outline.isEmpty())
        return;
    QPainter painter(this);
    const QRectF surface = m_outline.boundingRect();
    paintShadow(painter, surface, std::min(surface.height() / 2, tokens::radius::card), margin());
}

} // namespace tavolen::ui
