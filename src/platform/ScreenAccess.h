// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tavolen::platform {

// Whether this session lets us read the screen's pixels.
class ScreenAccess {
public:
    virtual ~ScreenAccess() = default;
    // Answers without prompting the user.
    virtual bool isPermitted() const = 0;
    // Asks the platform to prompt for access; the outcome is not reported.
    virtual void request() = 0;
};

} // namespace tavolen::platform
