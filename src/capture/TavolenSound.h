// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tavolen::platform {
class SoundPlayer;
} // namespace tavolen::platform

namespace tavolen {
class SettingsStore;
}

namespace tavolen::capture::TavolenSound {

// Plays the capture sound unless "snap_sound" is present and false.
void play(const SettingsStore &settings, platform::SoundPlayer &player);

} // namespace tavolen::capture::TavolenSound
