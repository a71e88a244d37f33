// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/PanelPlacement.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace tavolen::app {

// Where a toast of `size` goes (global logical pixels, y down). Beside the
// tray icon: centred on it and 8 below it when the icon is in the upper half
// of its screen, 8 above it otherwise, but kept 8 inside the right edge of
// that screen's usable area (there is no limit on the left). Without an
// icon: centred on the primary screen's usable area, 60 below its top; with
// no screen at all, at the origin.
QPointF toastOrigin(QSizeF size, std::optional<QRectF> trayIcon, const panel::ScreenLayout &layout);

} // namespace tavolen::app
