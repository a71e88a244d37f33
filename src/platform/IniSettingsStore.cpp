// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/IniSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tavolen::platform {

IniSettingsStore::IniSettingsStore(const QString &path) : m_settings(path, QSettings::IniFormat)
{
    // QSettings reads the file again only on sync(), and then only if its
    // size or time stamp changed.
    const auto reread = [this] {
        m_settings.sync();
        watch();
    };
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_watcher, reread);
    // Editors and QSettings itself replace the file rather than rewrite it,
    // which ends a watch on the file; its folder sees the new one arrive.
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_watcher, reread);
    watch();
}

QString IniSettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tavolen/tavolen.conf");
}

void IniSettingsStore::watch()
{
    const QFileInfo file(m_settings.fileName());
    if (file.absoluteDir().exists() && !m_watcher.directories().contains(file.absolutePath()))
        m_watcher.addPath(file.absolutePath());
    if (file.exists() && !m_watcher.files().contains(file.absoluteFilePath()))
        m_watcher.addPath(file.absoluteFilePath());
}

std::optional<QVariant> IniSettingsStore::value(const QString &key) const
{
    if (!m_settings.contains(key))
        return std::nullopt;
    return m_settings.value(key);
}

void IniSettingsStore::setValue(const QString &key, const QVariant &value)
{
    m_settings.setValue(key, value);
    m_settings.sync();
    watch();
}

void IniSettingsStore::remove(const QString &key)
{
    m_settings.remove(key);
    m_settings.sync();
}

} // namespace tavolen::platform
