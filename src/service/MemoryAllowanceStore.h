// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/AllowanceStore.h"

#include <QHash>

#include <mutex>

namespace tavolen::service {

// The counter in this process's memory: it starts again with the service,
// and a new day forgets the previous one.
class MemoryAllowanceStore : public AllowanceStore {
public:
    // Devices counted in one day at most; a day with more new ones than a
    // team has is a flood of made-up ids, and those find the allowance used.
    explicit MemoryAllowanceStore(qsizetype maxDevices = 50000) : m_maxDevices(maxDevices) {}

    bool take(const QString &device, QDate day, int limit) override;
    void giveBack(const QString &device, QDate day) override;

    // Devices with analyses counted today.
    qsizetype trackedDevices() const;

private:
    const qsizetype m_maxDevices;
    mutable std::mutex m_mutex;
    QDate m_day;
    QHash<QString, int> m_used;
};

} // namespace tavolen::service
