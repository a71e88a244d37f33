#include "capture/Clipboard.h"

#include "core/Settings.h"
#include "platform/Pasteboard.h"
#include "platform/SoundPlayer.h"

namespace tavolen::capture {

void Clipboard::copy(platform::Pasteboard &pasteboard, const QString &text)
{
    pasteboard.replaceWithText(text, QString::fromLatin1(kTransientType));
}

void TavolenSound::play(const SettingsStore &settings, platform::SoundPlayer &player)
{
    if (!keys::snapSound.value(settings))
        return;
    // A short, soft pop from the freedesktop theme; 0.3 of full volume is
    // about -10.5 dB.
    player.playEvent(QStringLiteral("message-sent-instant"), -10.5);
}

} // namespace tavolen::capture
