// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QFileSystemWatcher>
#include <QSettings>

namespace tavolen::platform {

// The user's settings file, an INI file read once and then answered from
// memory; every change is written through at once. An edit made by someone
// else (the user's editor, another Tavolen command) is read again when the
// file system reports it, not at every read.
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(const QString &path = defaultPath());

    // $XDG_CONFIG_HOME/tavolen/tavolen.conf (~/.config when unset).
    static QString defaultPath();

    std::optional<QVariant> value(const QString &key) const override;
    void setValue(const QString &key, const QVariant &value) override;
    void remove(const QString &key) override;

private:
    void watch();

    QSettings m_settings;
    QFileSystemWatcher m_watcher;
};

} // namespace tavolen::platform
