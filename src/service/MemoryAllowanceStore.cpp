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
    int &used = m_used[device];
    if (used >= limit)
        return false;
    ++used;
    return true;
}

void MemoryAllowanceStore::giveBack(const QString &device, QDate day)
{
    const std::lock_guard lock(m_mutex);
    if (day != m_day)
        return;
    auto it = m_used.find(device);
    if (it != m_used.end() && *it > 0)
        --*it;
}

} // namespace tavolen::service
