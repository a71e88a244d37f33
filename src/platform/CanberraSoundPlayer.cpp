// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/CanberraSoundPlayer.h"

#include <alsa/asoundlib.h>
#include <canberra.h>

namespace tavolen::platform {

namespace {

// ALSA prints every failure to stderr by default; on a desktop without a
// sound card that is a dozen lines for each sound libcanberra tries to play
// through it. A missing sound is not worth a word to the user.
void quiet(const char *, int, const char *, int, const char *, ...)
{}

} // namespace

CanberraSoundPlayer::CanberraSoundPlayer()
{
    // libcanberra's ALSA backend shares this process's libasound.
    snd_lib_error_set_handler(quiet);
    if (ca_context_create(&m_context) != CA_SUCCESS)
        m_context = nullptr;
    else
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Tavolen", nullptr);
}

CanberraSoundPlayer::~CanberraSoundPlayer()
{
    if (m_context)
        ca_context_destroy(m_context);
}

void CanberraSoundPlayer::playEvent(const QString &eventId, double volumeDb)
{
    if (!m_context)
        return;
    const QByteArray id = eventId.toUtf8();
    const QByteArray volume = QByteArray::number(volumeDb, 'f', 1);
    // Asynchronous; a missing sound server or theme simply plays nothing.
    ca_context_play(m_context, 0, CA_PROP_EVENT_ID, id.constData(), CA_PROP_CANBERRA_VOLUME,
                    volume.constData(), nullptr);
}

} // namespace tavolen::platform
