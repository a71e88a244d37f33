// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/FloorGate.h"

namespace tavolen::service {

FloorGate::FloorGate(FieldSink out) : m_out(std::move(out))
{}

void FloorGate::pass(const protocol::FieldEvent &event)
{
    // Sending under the lock keeps the app's order the engine's order, with
    // the released risk fields wherever the floor came between.
    const std::lock_guard lock(m_mutex);
    if (m_guard) {
        m_guard->passField(event, m_out);
    } else if (const std::optional<protocol::FieldEvent> field = ReadingGuard::beforeTheFloor(event)) {
        m_out(*field);
    } else {
        // A risk field (the caller passes early fields only).
        m_waiting.push_back(event);
    }
}

void FloorGate::floorKnown(const QString &capturedText, const QString &uiLanguage)
{
    const std::lock_guard lock(m_mutex);
    m_guard.emplace(capturedText, uiLanguage);
    for (const protocol::FieldEvent &event : m_waiting)
        m_guard->passField(event, m_out);
    m_waiting.clear();
}

} // namespace tavolen::service
