// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/MemoryAllowanceStore.h"

namespace tavolen::service {

bool MemoryAllowanceStore::take(const QString &device, QDate day, int limit)
{
    const std::lock_guard lock(m_mutex);
    if (day != m_day) {
        // Only today's counts matter, so memory holds one day's devices.
        m_used.clear();
        m_day = day;
    }
    auto it = m_used.find(device);
    if (it == m_used.end()) {
        if (m_used.size() >= m_maxDevices || limit <= 0)
            return false;
        it = m_used.insert(device, 0);
    }
    if (*it >= limit)
        return false;
    ++*it;
    return true;
}

void MemoryAllowanceStore::giveBack(const QString &device, QDate day)
{
    const std::lock_guard lock(m_mutex);
    if (day != m_day)
        return;
    auto it = m_used.find(device);
    if (it != m_used.end() && --*it <= 0)
        m_used.erase(it);
}

qsizetype MemoryAllowanceStore::trackedDevices() const
{
    const std::lock_guard lock(m_mutex);
    return m_used.size();
}

} // namespace tavolen::service
