// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/EngineFactory.h"

#include "service/ApiKeyFile.h"
#include "service/ConfigLoader.h"
#include "service/KeyringKey.h"
#include "service/OfflineEngine.h"
#include "service/llm/LlmEngine.h"

namespace tavolen::service {

namespace {

bool modelConfigured(const ServiceConfig &config)
{
    return !config.llm.base_url.isEmpty() && !config.llm.model.isEmpty();
}

bool wantsModel(const ServiceConfig &config)
{
    return config.engine.isEmpty() ? modelConfigured(config) : config.engine == QLatin1String("llm");
}

// The engine with the key that was read.
void finish(ServiceConfig config, const KeyRead &read, const QString &origin, const EngineBuilt &done)
{
    if (!read.error.isEmpty())
        return done(nullptr, read.error);
    // The same rule as a key given in service.toml.
    if (const QString problem = applySetting(QStringLiteral("llm.api_key"), read.key, origin, config);
        !problem.isEmpty())
        return done(nullptr, problem);
    QString error;
    std::unique_ptr<Engine> engine = makeEngine(config, error);
    done(std::move(engine), error);
}

} // namespace

std::unique_ptr<Engine> makeEngine(const ServiceConfig &config, QString &error)
{
    if (!wantsModel(config))
        return std::make_unique<OfflineEngine>();
    if (!modelConfigured(config)) {
        error = QStringLiteral("the llm engine needs llm.base_url and llm.model");
        return nullptr;
    }
    return std::make_unique<llm::LlmEngine>(config.llm);
}

void buildEngine(ServiceConfig config, const QString &configDir, EngineBuilt done)
{
    // The offline engine needs no key, and a key nobody uses must not stop it.
    if (!wantsModel(config) || config.apiKeySource == ApiKeySource::Given) {
        QString error;
        std::unique_ptr<Engine> engine = makeEngine(config, error);
        return done(std::move(engine), error);
    }
    if (config.apiKeySource == ApiKeySource::File) {
        const QString path = apiKeyFilePath(configDir);
        return finish(std::move(config), readApiKeyFile(path), path, done);
    }
    readKeyringKey([config = std::move(config), done = std::move(done)](const KeyRead &read) {
        finish(config, read, QStringLiteral("the keyring"), done);
    });
}

} // namespace tavolen::service
