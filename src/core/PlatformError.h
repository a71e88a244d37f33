// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tavolen {

// An error reported by a platform service (the network stack, the display
// server), carried with the platform's own user-readable description.
struct PlatformError {
    QString description;
    bool operator==(const PlatformError &) const = default;
};

} // namespace tavolen
