// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/L.h"

#include "core/Settings.h"

#include <QLocale>
#include <QRegularExpression>

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
    if (languages.isEmpty())
        return false;
    // Language tags are case-insensitive ("ZH-CN" is "zh-CN"); the primary
    // subtag is the part before the first separator.
    const QString primary = languages.first().section(QRegularExpression(QStringLiteral("[-_]")), 0, 0);
    return primary.compare(QLatin1String("zh"), Qt::CaseInsensitive) == 0;
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
