// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPainterPath>
#include <QWidget>

namespace tavolen::panel::views {

// A root view of the panel: the card or the pill.
class PanelSurface {
public:
    virtual ~PanelSurface() = default;
    // Its outline in its own coordinates, for a window that cuts its corners
    // or asks for what is behind them to be blurred.
    virtual QPainterPath surface() const = 0;
};

inline QPainterPath surfaceOf(const QWidget *view)
{
    const auto *root = dynamic_cast<const PanelSurface *>(view);
    return root ? root->surface() : QPainterPath();
}

} // namespace tavolen::panel::views
