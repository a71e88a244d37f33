// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ToastPlacement.h"

#include "ui/Tokens.h"

#include <algorithm>

namespace tavolen::app {

namespace t = ui::tokens::shell::toast;

namespace {

const panel::ScreenArea *screenHolding(QPointF point, const panel::ScreenLayout &layout)
{
    const auto found = std::find_if(layout.screens.begin(), layout.screens.end(),
                                    [point](const panel::ScreenArea &s) { return s.frame.contains(point); });
    return found == layout.screens.end() ? nullptr : &*found;
}

} // namespace

QPointF toastOrigin(QSizeF size, std::optional<QRectF> trayIcon, const panel::ScreenLayout &layout)
{
    const double w = size.width(), h = size.height();
    if (trayIcon) {
        const QRectF icon = *trayIcon;
        const panel::ScreenArea *screen = screenHolding(icon.center(), layout);
        // An icon on no known screen stands for its own screen, as if it filled it.
        const QRectF usable = screen ? screen->available : icon;
        const QRectF frame = screen ? screen->frame : icon;
        const double x = std::min(usable.x() + usable.width() - w - t::edgeInset, icon.center().x() - w / 2);
        const bool upperHalf = icon.center().y() < frame.center().y() || !screen;
        const double y = upperHalf ? icon.y() + icon.height() + t::iconGap : icon.y() - t::iconGap - h;
        return QPointF(x, y);
    }
    if (!layout.primary || *layout.primary >= layout.screens.size())
        return QPointF(0, 0);
    const QRectF usable = layout.screens[*layout.primary].available;
    return QPointF(usable.center().x() - w / 2, usable.y() + t::topInset);
}

} // namespace tavolen::app
