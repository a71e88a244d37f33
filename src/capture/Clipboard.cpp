#include "capture/Clipboard.h"

#include "platform/Pasteboard.h"
#include "platform/SettingsStore.h"
#include "platform/SoundPlayer.h"

namespace tavolen::capture {

void Clipboard::copy(platform::Pasteboard &pasteboard, const QString &text)
{
    pasteboard.replaceWithText(text, QString::fromLatin1(kTransientType));
}

void TavolenSound::play(const platform::SettingsStore &settings, platform::SoundPlayer &player)
{
    const auto enabled = settings.value(QStringLiteral("snap_sound"));
    // INI files hold "true"/"false" text; QVariant reads those as booleans.
    if (enabled && !enabled->toBool())
        return;
    // A short, soft pop from the freedesktop theme; 0.3 of full volume is
    // about -10.5 dB.
    player.playEvent(QStringLiteral("message-sent-instant"), -10.5);
}

} // namespace tavolen::capture
