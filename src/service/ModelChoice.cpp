// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ModelChoice.h"

#include "protocol/LocalControl.h"
#include "service/TomlConfig.h"

#include <QFileInfo>

#include <algorithm>

namespace tavolen::service {

QString modelChoicePath(const QString &configPath)
{
    return QFileInfo(configPath).absolutePath() + QLatin1Char('/') +
           QLatin1String(protocol::kModelChoiceFile);
}

void applyModelChoiceText(const QString &text, const QString &origin, ConfigLoad &out)
{
    const TomlDocument doc = parseTomlConfig(text);
    LineErrors errors(doc, origin);
    // A key goes with its endpoint: a model chosen elsewhere than the one
    // service.toml names must not be sent that file's key, so the key then
    // comes from this file or not at all.
    const bool ownEndpoint = std::any_of(doc.entries.begin(), doc.entries.end(), [](const TomlEntry &e) {
        return e.key == QLatin1String("llm.base_url");
    });
    if (ownEndpoint && doc.problems.isEmpty()) {
        out.config.llm.api_key.clear();
        out.config.apiKeySource = ApiKeySource::Given;
    }
    for (const TomlEntry &e : doc.entries) {
        const QString where = QStringLiteral("%1:%2").arg(origin).arg(e.line);
        if (e.key == QLatin1String("llm.api_key")) {
            const QString source = e.value.trimmed().toLower();
            if (source == QLatin1String("keyring"))
                out.config.apiKeySource = ApiKeySource::Keyring;
            else if (source == QLatin1String("file"))
                out.config.apiKeySource = ApiKeySource::File;
            else
                // Never quoted: someone may have pasted the key itself here.
                errors.add(e.line, QStringLiteral("%1: llm.api_key: expected \"keyring\" or \"file\" (the "
                                                  "key itself belongs in the keyring or the key file)")
                                       .arg(where));
            if (out.config.apiKeySource != ApiKeySource::Given)
                out.config.llm.api_key.clear();
            continue;
        }
        if (e.key != QLatin1String("engine") && e.key != QLatin1String("llm.base_url") &&
            e.key != QLatin1String("llm.model") && e.key != QLatin1String("llm.vision")) {
            out.warnings << QStringLiteral(
                                "%1: unknown key %2, ignored (other settings belong in service.toml)")
                                .arg(where, e.key);
            continue;
        }
        if (const QString error = applySetting(e.key, e.value, where, out.config); !error.isEmpty())
            errors.add(e.line, error);
    }
    errors.reportTo(out.errors);
}

void readModelChoice(const QString &path, ConfigLoad &out)
{
    if (const std::optional<QString> text = readConfigText(path, ConfigFile::Default, out.errors))
        applyModelChoiceText(*text, path, out);
}

} // namespace tavolen::service
