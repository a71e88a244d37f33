// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QString>

#include <vector>

namespace tavolen::app {

// One entry of the interface-language choice, as the tray menu and Settings
// offer it: the stored code ("auto" for following the system) and its name.
struct LanguageChoice {
    QString code;
    QString name;
};

// "System" (in the interface language), 中文 and English, in that order.
std::vector<LanguageChoice> languageChoices();
// The choice stored now: "auto" when the system's language is followed.
QString storedLanguageChoice(const SettingsStore &settings);
// Stores `code`; "auto" removes the setting, so the system's language is followed.
void storeLanguageChoice(SettingsStore &settings, const QString &code);

} // namespace tavolen::app
