// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QSettings>

namespace tavolen::platform {

// Settings in an INI file with every key under [General], so a user or a
// script can set "api_base" with a text editor.
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(const QString &path = defaultPath());

    // $XDG_CONFIG_HOME/tavolen/tavolen.conf (~/.config when unset).
    static QString defaultPath();

    std::optional<QVariant> value(const QString &key) const override;
    void setValue(const QString &key, const QVariant &value) override;
    void remove(const QString &key) override;

private:
    mutable QSettings m_settings;
};

} // namespace tavolen::platform
