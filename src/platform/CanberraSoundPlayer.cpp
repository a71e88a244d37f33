#include "platform/CanberraSoundPlayer.h"

#include <canberra.h>

namespace tavolen::platform {

CanberraSoundPlayer::CanberraSoundPlayer()
{
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
