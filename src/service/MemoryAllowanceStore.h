#pragma once

#include "service/AllowanceStore.h"

#include <QHash>

#include <mutex>

namespace tavolen::service {

// The counter in this process's memory: it starts again with the service,
// and a new day forgets the previous one.
class MemoryAllowanceStore : public AllowanceStore {
public:
    bool take(const QString &device, QDate day, int limit) override;
    void giveBack(const QString &device, QDate day) override;

private:
    std::mutex m_mutex;
    QDate m_day;
    QHash<QString, int> m_used;
};

} // namespace tavolen::service
