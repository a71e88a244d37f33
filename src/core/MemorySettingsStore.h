// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QHash>

namespace tavolen {

// Settings kept in memory only: for tests and for runs that must not touch
// the user's configuration.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<QVariant> value(const QString &key) const override
    {
        auto it = m_values.constFind(key);
        if (it == m_values.constEnd())
            return std::nullopt;
        return *it;
    }
    void setValue(const QString &key, const QVariant &value) override { m_values.insert(key, value); }
    void remove(const QString &key) override { m_values.remove(key); }

private:
    QHash<QString, QVariant> m_values;
};

} // namespace tavolen
