// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ToastWindow.h"

#include "app/ToastView.h"
#include "ui/Tokens.h"

#include <QPainterPath>

namespace tavolen::app {

namespace t = ui::tokens::shell::toast;

ToastWindow::ToastWindow(ToastView *view, bool translucent)
    : ui::SurfaceWindow(translucent, t::shadowMargin, Qt::WindowDoesNotAcceptFocus), m_view(view)
{
    // Typing goes on in whatever window had the focus before.
    setFocusPolicy(Qt::NoFocus);
    view->setParent(this);
}

void ToastWindow::placeCapsule(QRectF capsule)
{
    QPainterPath shape;
    const double radius = capsule.height() / 2;
    shape.addRoundedRect(QRectF(QPointF(0, 0), capsule.size()), radius, radius);
    placeSurface(m_view, capsule, shape);
}

} // namespace tavolen::app
