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

namespace {

const ScreenArea *screenMeeting(QRectF anchor, const ScreenLayout &layout)
{
    const auto meets = std::find_if(layout.screens.begin(), layout.screens.end(),
                                    [&](const ScreenArea &s) { return s.frame.intersects(anchor); });
    if (meets != layout.screens.end())
        return &*meets;
    return layout.primary ? &layout.screens.at(*layout.primary) : nullptr;
}

} // namespace

QPointF panelOrigin(QSizeF size, std::optional<QRectF> anchor, const ScreenLayout &layout)
{
    const double w = size.width();
    const double h = size.height();
    const QRectF primary = layout.primary ? layout.screens.at(*layout.primary).available : QRectF();

    const ScreenArea *screen = anchor ? screenMeeting(*anchor, layout) : nullptr;
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

std::optional<CardAnchor> cardAnchor(QSizeF planned, QRectF selection, const ScreenLayout &layout,
                                     double minHeight)
{
    const ScreenArea *screen = screenMeeting(selection, layout);
    if (!screen)
        return std::nullopt;
    const QRectF &v = screen->available;
    const QPointF origin = panelOrigin(planned, selection, layout);
    const CardAnchor below{CardAnchor::Side::Below, origin.x(), selection.bottom() + kPanelMargin,
                           v.bottom() - kPanelMargin - selection.bottom() - kPanelMargin};
    const CardAnchor above{CardAnchor::Side::Above, origin.x(), selection.top() - kPanelMargin,
                           selection.top() - kPanelMargin - v.top() - kPanelMargin};
    std::optional<CardAnchor> chosen;
    if (origin.y() >= selection.bottom())
        chosen = below;
    else if (origin.y() + planned.height() <= selection.top())
        chosen = above;
    else
        chosen = below.room >= above.room ? below : above;
    if (chosen->room < minHeight)
        return std::nullopt;
    return chosen;
}

QRectF cardAt(const CardAnchor &anchor, QSizeF size)
{
    const double h = std::min(size.height(), anchor.room);
    const double top = anchor.side == CardAnchor::Side::Below ? anchor.edge : anchor.edge - h;
    return QRectF(anchor.x, top, size.width(), h);
}

} // namespace tavolen::panel
