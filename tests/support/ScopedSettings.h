// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/L.h"
#include "core/MemorySettingsStore.h"
#include "core/Settings.h"

#include <QStringList>

namespace tavolen::test {

// Installs a fresh in-memory settings store and a fixed preferred-language list
// for one test, and restores the defaults afterwards.
class ScopedSettings {
public:
    explicit ScopedSettings(QStringList languages = {QStringLiteral("en-US")})
        : m_languages(std::move(languages))
    {
        installSettings(&store);
        L::installLanguageSource([this] { return m_languages; });
    }
    ~ScopedSettings()
    {
        installSettings(nullptr);
        L::installLanguageSource({});
    }
    ScopedSettings(const ScopedSettings &) = delete;
    ScopedSettings &operator=(const ScopedSettings &) = delete;

    void setLanguages(QStringList languages) { m_languages = std::move(languages); }

    MemorySettingsStore store;

private:
    QStringList m_languages;
};

} // namespace tavolen::test
