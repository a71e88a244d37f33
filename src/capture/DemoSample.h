// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

#include <optional>

namespace tavolen::capture {

// The first-run demonstration image.
class DemoSampleSource {
public:
    virtual ~DemoSampleSource() = default;
    // The sample as JPEG bytes, or nullopt when it cannot be made.
    virtual std::optional<QByteArray> jpeg() = 0;
};

} // namespace tavolen::capture
