// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QString>

#include <optional>

namespace tavolen {

// One settings key with its type and the value its absence means. A value
// stored with another type (a hand-edited file) counts as absent.
template <class T> class Setting {
public:
    Setting(const char *name, T fallback) : m_name(QString::fromLatin1(name)), m_fallback(std::move(fallback))
    {}

    const QString &name() const { return m_name; }
    std::optional<T> stored(const SettingsStore &store) const
    {
        const std::optional<QVariant> v = store.value(m_name);
        return v ? convert(*v) : std::nullopt;
    }
    T value(const SettingsStore &store) const { return stored(store).value_or(m_fallback); }
    void set(SettingsStore &store, const T &value) const
    {
        store.setValue(m_name, QVariant::fromValue(value));
    }
    void remove(SettingsStore &store) const { store.remove(m_name); }

private:
    static std::optional<T> convert(const QVariant &v);

    QString m_name;
    T m_fallback;
};

// Texts must be stored as texts: an INI file holds nothing else.
template <> inline std::optional<QString> Setting<QString>::convert(const QVariant &v)
{
    return v.typeId() == QMetaType::QString ? std::optional(v.toString()) : std::nullopt;
}
// An INI file holds "true"/"false" as text; QVariant reads "", "0" and
// "false" (any case) as false, everything else as true.
template <> inline std::optional<bool> Setting<bool>::convert(const QVariant &v)
{
    return v.toBool();
}

namespace keys {
// The analysis service's base URL; empty or unusable means the built-in one.
inline const Setting<QString> apiBase{"api_base", QString()};
// "zh" or "en"; absent follows the system's first preferred language.
inline const Setting<QString> appLang{"app_lang", QString()};
// Whether the capture sound plays.
inline const Setting<bool> snapSound{"snap_sound", true};
// This installation's identifier, written once.
inline const Setting<QString> deviceId{"device_id", QString()};
// Whether the first-run introduction has been shown.
inline const Setting<bool> onboardDone{"onboard_done", false};
} // namespace keys

} // namespace tavolen
