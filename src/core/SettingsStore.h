// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace tavolen {

// The per-user settings store: flat keys, values as the store holds them.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored value, or nullopt when the key is absent.
    virtual std::optional<QVariant> value(const QString &key) const = 0;
    // Stores the value and makes it durable before returning.
    virtual void setValue(const QString &key, const QVariant &value) = 0;
    // Removes the key; absent keys are left alone.
    virtual void remove(const QString &key) = 0;
};

} // namespace tavolen
