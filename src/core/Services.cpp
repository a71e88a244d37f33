#include "core/Services.h"

#include "platform/MemorySettingsStore.h"

#include <QLocale>

namespace tavolen {

namespace {
platform::SettingsStore *g_settings = nullptr;
std::function<QStringList()> g_languages;

platform::SettingsStore &fallbackSettings()
{
    static platform::MemorySettingsStore store;
    return store;
}
} // namespace

platform::SettingsStore &settings()
{
    return g_settings ? *g_settings : fallbackSettings();
}

void installSettings(platform::SettingsStore *store)
{
    g_settings = store;
}

QStringList preferredLanguages()
{
    if (g_languages)
        return g_languages();
    return QLocale::system().uiLanguages();
}

void installLanguageSource(std::function<QStringList()> source)
{
    g_languages = std::move(source);
}

} // namespace tavolen
