#pragma once

#include "core/Services.h"
#include "platform/MemorySettingsStore.h"

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
        installLanguageSource([this] { return m_languages; });
    }
    ~ScopedSettings()
    {
        installSettings(nullptr);
        installLanguageSource({});
    }
    ScopedSettings(const ScopedSettings &) = delete;
    ScopedSettings &operator=(const ScopedSettings &) = delete;

    void setLanguages(QStringList languages) { m_languages = std::move(languages); }

    platform::MemorySettingsStore store;

private:
    QStringList m_languages;
};

} // namespace tavolen::test
