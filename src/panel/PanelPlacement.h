// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

namespace tavolen::panel {

// A screen as placement sees it: its whole area and the part not taken by
// panels and docks, both in global logical pixels (y down).
struct ScreenArea {
    QRectF frame;
    QRectF available;
};

struct ScreenLayout {
    std::vector<ScreenArea> screens; // in the platform's order
    std::optional<std::size_t> primary;
};

// The screens as Qt reports them now.
ScreenLayout currentScreens();

// Where a panel of `size` goes. Beside `anchor` (the selection): 12 below
// it, or 12 above it when it would overflow the bottom of the usable area,
// or 12 inside the top when that overflows too; left-aligned with the
// selection and kept 12 inside the left and right edges (the right edge
// wins). The screen is the first whose frame meets the anchor, else the
// primary one. Without an anchor (or a screen) it is centred on the
// primary screen's usable area.
QPointF panelOrigin(QSizeF size, std::optional<QRectF> anchor, const ScreenLayout &layout);

inline constexpr double kPanelMargin = 12;

// Where a run's card stays once it is shown: on one side of the selection,
// its edge nearest the selection fixed, growing away from it. `room` is the
// most height the card may take there, 12 inside the usable area, before
// its content must scroll.
struct CardAnchor {
    enum class Side { Below, Above };
    Side side;
    double x;
    double edge;
    double room;
};

// The side and edge for a card of `planned` size beside `selection`: the
// side `panelOrigin` picks when the card fits one; when it fits neither, the
// side with more room, so that the card never covers the selection. None
// when the selection meets no screen or leaves no room of `minHeight` on
// either side.
std::optional<CardAnchor> cardAnchor(QSizeF planned, QRectF selection, const ScreenLayout &layout,
                                     double minHeight);
// The card of `size` at `anchor`, its height cut to the room there.
QRectF cardAt(const CardAnchor &anchor, QSizeF size);

} // namespace tavolen::panel
