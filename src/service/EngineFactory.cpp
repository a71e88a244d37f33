// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/EngineFactory.h"

#include "service/OfflineEngine.h"
#include "service/llm/LlmEngine.h"

namespace tavolen::service {

std::unique_ptr<Engine> makeEngine(const ServiceConfig &config, QString &error)
{
    const bool modelConfigured = !config.llm.base_url.isEmpty() && !config.llm.model.isEmpty();
    const QString wanted = config.engine.isEmpty()
                               ? (modelConfigured ? QStringLiteral("llm") : QStringLiteral("offline"))
                               : config.engine;
    if (wanted == QLatin1String("offline"))
        return std::make_unique<OfflineEngine>();
    if (!modelConfigured) {
        error = QStringLiteral("the llm engine needs llm.base_url and llm.model");
        return nullptr;
    }
    return std::make_unique<llm::LlmEngine>(config.llm);
}

} // namespace tavolen::service
