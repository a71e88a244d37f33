#pragma once

#include <QString>

namespace tavolen::platform {
class Pasteboard;
class SoundPlayer;
} // namespace tavolen::platform

namespace tavolen {
class SettingsStore;
}

namespace tavolen::capture {

namespace Clipboard {
// Clipboard managers that honour this type leave the entry out of their history.
inline constexpr auto kTransientType = "org.nspasteboard.TransientType";
// Replaces the clipboard's contents with `text` and the transient marker.
void copy(platform::Pasteboard &pasteboard, const QString &text);
} // namespace Clipboard

namespace TavolenSound {
// Plays the capture sound unless "snap_sound" is present and false.
void play(const SettingsStore &settings, platform::SoundPlayer &player);
} // namespace TavolenSound

} // namespace tavolen::capture
