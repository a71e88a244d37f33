// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/IniSettingsStore.h"

#include <QStandardPaths>

namespace tavolen::platform {

IniSettingsStore::IniSettingsStore(const QString &path) : m_settings(path, QSettings::IniFormat)
{}

QString IniSettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tavolen/tavolen.conf");
}

std::optional<QVariant> IniSettingsStore::value(const QString &key) const
{
    // Another process (or the user's editor) may have changed the file.
    m_settings.sync();
    if (!m_settings.contains(key))
        return std::nullopt;
    return m_settings.value(key);
}

void IniSettingsStore::setValue(const QString &key, const QVariant &value)
{
    m_settings.setValue(key, value);
    m_settings.sync();
}

void IniSettingsStore::remove(const QString &key)
{
    m_settings.remove(key);
    m_settings.sync();
}

} // namespace tavolen::platform
