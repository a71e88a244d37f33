// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ScreenAccess.h"

namespace tavolen::platform::x11 {

// Every X client may read the screen; there is nothing to ask for.
class X11ScreenAccess final : public ScreenAccess {
public:
    bool isPermitted() const override { return true; }
    void request() override {}
};

} // namespace tavolen::platform::x11
