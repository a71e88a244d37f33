// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LanguageChoices.h"

#include "core/Settings.h"

#include <QCoreApplication>

namespace tavolen::app {

namespace {

// The tray menu's context, where translators first met these words.
struct TrayTexts {
    Q_DECLARE_TR_FUNCTIONS(TrayTexts)
};

constexpr auto kAuto = "auto";

} // namespace

std::vector<LanguageChoice> languageChoices()
{
    // Each language by its own name, whatever the interface speaks.
    return {{QString::fromLatin1(kAuto), TrayTexts::tr("System")},
            {QStringLiteral("zh"), QStringLiteral("中文")},
            {QStringLiteral("en"), QStringLiteral("English")}};
}

QString storedLanguageChoice(const SettingsStore &settings)
{
    return keys::appLang.stored(settings).value_or(QString::fromLatin1(kAuto));
}

void storeLanguageChoice(SettingsStore &settings, const QString &code)
{
    if (code == QLatin1String(kAuto))
        keys::appLang.remove(settings);
    else
        keys::appLang.set(settings, code);
}

} // namespace tavolen::app
