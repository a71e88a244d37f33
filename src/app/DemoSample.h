// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/DemoSample.h"

namespace tavolen::app {

// The sample post as the demonstration uploads it: rendered offscreen at
// twice its logical size and encoded as JPEG in memory.
class DemoSample final : public capture::DemoSampleSource {
public:
    std::optional<QByteArray> jpeg() override;
};

} // namespace tavolen::app
