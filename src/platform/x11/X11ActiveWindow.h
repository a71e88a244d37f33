// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ActiveWindow.h"

namespace tavolen::platform::x11 {

// The focused window as the window manager reports it (_NET_ACTIVE_WINDOW).
class X11ActiveWindow final : public ActiveWindow {
public:
    std::optional<Id> current() const override;
    void activate(Id window) override;
};

} // namespace tavolen::platform::x11
