// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowList.h"

namespace tavolen::platform::x11 {

// Reads the window manager's stacking list (EWMH); without a window manager,
// the root's children in stacking order.
class X11WindowList final : public WindowList {
public:
    QList<QRect> frontToBack() const override;
};

} // namespace tavolen::platform::x11
