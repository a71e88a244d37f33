// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/InterfaceLanguage.h"
#include "core/MemorySettingsStore.h"
#include "core/Settings.h"

#include <QStringList>

namespace tavolen::test {

// A fresh in-memory settings store and a fixed preferred-language list for
// one test, with the interface speaking the language they choose; the
// defaults (English, no stored settings) come back afterwards.
class ScopedSettings {
public:
    explicit ScopedSettings(QStringList languages = {QStringLiteral("en-US")})
        : m_languages(std::move(languages)), m_language(store, [this] { return m_languages; })
    {
        m_language.apply();
    }
    ScopedSettings(const ScopedSettings &) = delete;
    ScopedSettings &operator=(const ScopedSettings &) = delete;

    void setLanguages(QStringList languages)
    {
        m_languages = std::move(languages);
        m_language.apply();
    }
    // Stores "app_lang" as the language menu does, and speaks it.
    void setAppLang(const QVariant &value)
    {
        store.setValue(QStringLiteral("app_lang"), value);
        m_language.apply();
    }
    InterfaceLanguage &language() { return m_language; }

    MemorySettingsStore store;

private:
    QStringList m_languages;
    InterfaceLanguage m_language;
};

} // namespace tavolen::test
