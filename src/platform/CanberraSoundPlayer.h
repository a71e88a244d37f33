// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/SoundPlayer.h"

struct ca_context;

namespace tavolen::platform {

// Event sounds through libcanberra and the freedesktop sound theme.
class CanberraSoundPlayer final : public SoundPlayer {
public:
    CanberraSoundPlayer();
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer &) = delete;
    CanberraSoundPlayer &operator=(const CanberraSoundPlayer &) = delete;

    void playEvent(const QString &eventId, double volumeDb) override;

private:
    ca_context *m_context = nullptr;
};

} // namespace tavolen::platform
