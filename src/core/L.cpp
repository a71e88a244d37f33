#include "core/L.h"

#include "core/Services.h"
#include "platform/SettingsStore.h"

namespace tavolen::L {

bool isZh()
{
    const auto stored = settings().value(QStringLiteral("app_lang"));
    // INI files hold strings; anything that is not one counts as absent.
    if (stored && stored->typeId() == QMetaType::QString) {
        const QString lang = stored->toString();
        if (lang == QLatin1String("zh"))
            return true;
        if (lang == QLatin1String("en"))
            return false;
    }
    const QStringList languages = preferredLanguages();
    return !languages.isEmpty() && languages.first().startsWith(QLatin1String("zh"));
}

} // namespace tavolen::L
