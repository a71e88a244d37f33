// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QString>

namespace tavolen::service {

// Counts each device's analyses per day. The only state the service keeps;
// behind this interface so that several instances can share one counter.
class AllowanceStore {
public:
    virtual ~AllowanceStore() = default;
    // Takes one analysis from `device`'s allowance of `limit` for `day`;
    // false, taking nothing, when all `limit` are used. Safe from any thread.
    virtual bool take(const QString &device, QDate day, int limit) = 0;
    // Returns one analysis taken on `day` that gave no reading. Safe from any thread.
    virtual void giveBack(const QString &device, QDate day) = 0;
};

} // namespace tavolen::service
