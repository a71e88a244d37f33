// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/PanelPlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace tavolen::panel {

ScreenLayout currentScreens()
{
    ScreenLayout layout;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        if (screen == QGuiApplication::primaryScreen())
            layout.primary = layout.screens.size();
        layout.screens.push_back({QRectF(screen->geometry()), QRectF(screen->availableGeometry())});
    }
    return layout;
}

QPointF panelOrigin(QSizeF size, std::optional<QRectF> anchor, const ScreenLayout &layout)
{
    const double w = size.width();
    const double h = size.height();
    const QRectF primary = layout.primary ? layout.screens.at(*layout.primary).available : QRectF();

    const ScreenArea *screen = nullptr;
    if (anchor) {
        const auto meets = std::find_if(layout.screens.begin(), layout.screens.end(),
                                        [&](const ScreenArea &s) { return s.frame.intersects(*anchor); });
        if (meets != layout.screens.end())
            screen = &*meets;
        else if (layout.primary)
            screen = &layout.screens.at(*layout.primary);
    }
    if (!screen)
        return {primary.center().x() - w / 2, primary.center().y() - h / 2};

    const QRectF &a = *anchor;
    const QRectF &v = screen->available;
    double y = a.bottom() + kPanelMargin;
    if (y + h > v.bottom())
        y = a.top() - kPanelMargin - h;
    if (y < v.top())
        y = v.top() + kPanelMargin;
    double x = std::max(a.left(), v.left() + kPanelMargin);
    x = std::min(x, v.right() - w - kPanelMargin);
    return {x, y};
}

} // namespace tavolen::panel
