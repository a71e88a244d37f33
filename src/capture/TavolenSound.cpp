// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/TavolenSound.h"

#include "core/Settings.h"
#include "platform/SoundPlayer.h"

#include <QString>

namespace tavolen::capture {

void TavolenSound::play(const SettingsStore &settings, platform::SoundPlayer &player)
{
    if (!keys::snapSound.value(settings))
        return;
    // A short, soft pop from the freedesktop theme; 0.3 of full volume is
    // about -10.5 dB.
    player.playEvent(QStringLiteral("message-sent-instant"), -10.5);
}

} // namespace tavolen::capture
