// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tavolen::platform {

// Named event sounds of the desktop's sound theme.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the sound and returns at once; nothing happens without a sound server.
    virtual void playEvent(const QString &eventId, double volumeDb) = 0;
};

} // namespace tavolen::platform
