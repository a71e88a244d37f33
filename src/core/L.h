// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tavolen::L {

// True when the interface speaks Simplified Chinese. Evaluated afresh on every
// call, so a language change applies to the very next text produced.
bool isZh();

// Picks one of a text's two variants at the moment the text is produced.
inline QString text(const QString &en, const QString &zh)
{
    return isZh() ? zh : en;
}

// The interface language as the analysis service expects it.
inline QString uiLang()
{
    return isZh() ? QStringLiteral("zh-Hans") : QStringLiteral("en");
}

// The user's ordered preferred interface languages (BCP 47 tags).
QStringList preferredLanguages();
// Replaces the system's list, for tests; an empty function restores it.
void installLanguageSource(std::function<QStringList()> source);

} // namespace tavolen::L
