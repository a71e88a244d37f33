#include "app/LanguageOverride.h"

namespace tavolen::app {

namespace {
const QString kAppLang = QStringLiteral("app_lang");
}

std::optional<QVariant> LanguageOverride::value(const QString &key) const
{
    if (key == kAppLang)
        return QVariant(m_appLang);
    return m_beneath.value(key);
}

void LanguageOverride::setValue(const QString &key, const QVariant &value)
{
    // The user's own choice is not ours to change from a one-off run.
    if (key != kAppLang)
        m_beneath.setValue(key, value);
}

void LanguageOverride::remove(const QString &key)
{
    if (key != kAppLang)
        m_beneath.remove(key);
}

} // namespace tavolen::app
