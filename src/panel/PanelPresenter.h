// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/PanelState.h"

#include <QRectF>

#include <optional>

namespace tavolen::panel {

// Where the capture flow sends each panel state.
class PanelPresenter {
public:
    virtual ~PanelPresenter() = default;
    // Shows the state beside `near` (global logical coordinates), or by the
    // panel's default placement when absent.
    virtual void show(const PanelState &state, std::optional<QRectF> near) = 0;
    // The panel's own close: timers cancelled, window hidden, result forgotten.
    virtual void hide() = 0;
};

} // namespace tavolen::panel
