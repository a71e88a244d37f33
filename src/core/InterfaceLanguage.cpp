// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/InterfaceLanguage.h"

#include "core/Log.h"
#include "core/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QRegularExpression>

namespace tavolen {

namespace {

// Where qt_add_translations puts the compiled translations.
const QString kTranslations = QStringLiteral(":/i18n");

// Language tags are case-insensitive ("ZH-CN" is "zh-CN"); the primary subtag
// is the part before the first separator, "-" in BCP 47, "_" in locale names.
QString primarySubtag(const QString &tag)
{
    return tag.section(QRegularExpression(QStringLiteral("[-_]")), 0, 0).toLower();
}

// The translation whose language is `tag`'s, or nullopt.
std::optional<QString> translationFor(const QString &tag)
{
    const QString primary = primarySubtag(tag);
    if (primary.isEmpty())
        return std::nullopt;
    for (const QString &name : InterfaceLanguage::available())
        if (primarySubtag(name) == primary)
            return name;
    return std::nullopt;
}

} // namespace

InterfaceLanguage::InterfaceLanguage(const SettingsStore &store, LanguageSource preferred)
    : m_store(store), m_preferred(std::move(preferred))
{}

InterfaceLanguage::~InterfaceLanguage()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

QStringList InterfaceLanguage::available()
{
    QStringList names;
    const QStringList files = QDir(kTranslations).entryList({QStringLiteral("tavolen_*.qm")}, QDir::Files);
    for (const QString &file : files)
        names << file.mid(8, file.size() - 8 - 3);
    return names;
}

QString InterfaceLanguage::choose(const std::optional<QString> &appLang, const QStringList &preferred)
{
    // Only the stored values the language menu writes count; anything else
    // (a hand-edited "fr", "ZH") follows the system.
    if (appLang == QLatin1String("en"))
        return QString();
    if (appLang && *appLang == primarySubtag(*appLang))
        if (const std::optional<QString> name = translationFor(*appLang))
            return *name;
    if (!preferred.isEmpty())
        if (const std::optional<QString> name = translationFor(preferred.first()))
            return *name;
    return QString();
}

QStringList InterfaceLanguage::systemLanguages()
{
    return QLocale::system().uiLanguages();
}

void InterfaceLanguage::apply()
{
    const QString wanted = choose(keys::appLang.stored(m_store), m_preferred());
    if (wanted == m_current && (m_installed || wanted.isEmpty()))
        return;
    if (m_installed) {
        QCoreApplication::removeTranslator(&m_translator);
        m_installed = false;
    }
    m_current = wanted;
    if (!wanted.isEmpty()) {
        if (m_translator.load(QStringLiteral("tavolen_") + wanted, kTranslations))
            m_installed = QCoreApplication::installTranslator(&m_translator);
        else
            qCWarning(lcApp) << "the built-in translation" << wanted << "could not be loaded";
    }
    qCInfo(lcApp) << "interface language:" << (wanted.isEmpty() ? QStringLiteral("en") : wanted);
}

QString serviceLanguage()
{
    return QCoreApplication::translate(
        "InterfaceLanguage", "en",
        "The tag of this language that the analysis service understands: en or zh-Hans");
}

} // namespace tavolen
