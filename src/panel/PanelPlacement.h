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

} // namespace tavolen::panel
