#include "service/EngineFactory.h"

#include "service/OfflineEngine.h"

namespace tavolen::service {

std::unique_ptr<Engine> makeEngine(const ServiceConfig &config, QString &error)
{
    const bool modelConfigured = !config.llm.baseUrl.isEmpty() && !config.llm.model.isEmpty();
    const QString wanted = config.engine.isEmpty()
                               ? (modelConfigured ? QStringLiteral("llm") : QStringLiteral("offline"))
                               : config.engine;
    if (wanted == QLatin1String("offline"))
        return std::make_unique<OfflineEngine>();
    if (!modelConfigured) {
        error = QStringLiteral("the llm engine needs llm.base_url and llm.model");
        return nullptr;
    }
    // TODO(lead): the llm engine (src/service/llm/) is built separately;
    // return it here once merged, e.g. std::make_unique<LlmEngine>(config.llm).
    error = QStringLiteral("this build has no llm engine yet");
    return nullptr;
}

} // namespace tavolen::service
