// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

namespace tavolen::app {

// A settings store that answers "app_lang" with a fixed choice and passes
// everything else to the store beneath, so one run can speak a language
// without changing the user's setting.
class LanguageOverride final : public SettingsStore {
public:
    // `appLang` is a stored value of "app_lang": "en" or "zh".
    LanguageOverride(SettingsStore &beneath, QString appLang)
        : m_beneath(beneath), m_appLang(std::move(appLang))
    {}

    SettingsStore &beneath() const { return m_beneath; }

    std::optional<QVariant> value(const QString &key) const override;
    void setValue(const QString &key, const QVariant &value) override;
    void remove(const QString &key) override;

private:
    SettingsStore &m_beneath;
    QString m_appLang;
};

} // namespace tavolen::app
