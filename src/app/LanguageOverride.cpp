// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LanguageOverride.h"

#include "core/Settings.h"

namespace tavolen::app {

std::optional<QVariant> LanguageOverride::value(const QString &key) const
{
    if (key == keys::appLang.name())
        return QVariant(m_appLang);
    return m_beneath.value(key);
}

void LanguageOverride::setValue(const QString &key, const QVariant &value)
{
    // The user's own choice is not ours to change from a one-off run.
    if (key != keys::appLang.name())
        m_beneath.setValue(key, value);
}

void LanguageOverride::remove(const QString &key)
{
    if (key != keys::appLang.name())
        m_beneath.remove(key);
}

} // namespace tavolen::app
