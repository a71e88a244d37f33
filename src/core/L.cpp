#include "core/L.h"

#include "core/Settings.h"

#include <QLocale>

namespace tavolen::L {

namespace {
std::function<QStringList()> g_languages;
}

bool isZh()
{
    const QString lang = keys::appLang.value(settings());
    if (lang == QLatin1String("zh"))
        return true;
    if (lang == QLatin1String("en"))
        return false;
    const QStringList languages = preferredLanguages();
    return !languages.isEmpty() && languages.first().startsWith(QLatin1String("zh"));
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

} // namespace tavolen::L
