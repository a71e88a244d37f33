// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <optional>

namespace tavolen::platform {

// The user's front-most window, remembered before the overlay takes the
// focus and given it back afterwards.
class ActiveWindow {
public:
    using Id = quint64;
    virtual ~ActiveWindow() = default;
    // The window that has the focus now, if the platform tells.
    virtual std::optional<Id> current() const = 0;
    // Asks the window manager to give that window the focus back.
    virtual void activate(Id window) = 0;
};

} // namespace tavolen::platform
