// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QString>
#include <QStringList>
#include <QTranslator>

#include <functional>
#include <optional>

namespace tavolen {

// The language the interface speaks, and the translation that makes it speak
// it. English is the source language of every text; other languages are Qt
// Linguist translations built into the binary (translations/*.ts).
//
// Installing a translation is process-wide, as Qt's translators are: keep one
// of these at a time. On every change Qt sends QEvent::LanguageChange to all
// widgets, which word themselves again.
class InterfaceLanguage {
public:
    using LanguageSource = std::function<QStringList()>;

    // `store` and the source are read at each apply(), never in between.
    explicit InterfaceLanguage(const SettingsStore &store, LanguageSource preferred = systemLanguages);
    ~InterfaceLanguage();
    InterfaceLanguage(const InterfaceLanguage &) = delete;
    InterfaceLanguage &operator=(const InterfaceLanguage &) = delete;

    // Chooses the language from the settings and the system and installs its
    // translation (or none, for English).
    void apply();
    // The translation in use: its locale name ("zh_CN"), empty for English.
    const QString &current() const { return m_current; }

    // The locale names of the built-in translations.
    static QStringList available();
    // "app_lang" when it names a language we speak ("en", or the primary
    // subtag of a translation, "zh"), else the system's first preferred
    // language if we speak it, else English. Any Chinese system gets the
    // Simplified texts: they read far better there than English does.
    static QString choose(const std::optional<QString> &appLang, const QStringList &preferred);
    // The system's ordered preferred interface languages (BCP 47 tags).
    static QStringList systemLanguages();

private:
    const SettingsStore &m_store;
    LanguageSource m_preferred;
    QTranslator m_translator;
    QString m_current;
    bool m_installed = false;
};

// The interface language as the analysis service expects it ("en",
// "zh-Hans"): each translation supplies its own tag.
QString serviceLanguage();

} // namespace tavolen
