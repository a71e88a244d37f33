#pragma once

#include <QString>

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

} // namespace tavolen::L
