#include "api/AnalysisService.h"

#include "api/Network.h"
#include "core/L.h"

namespace tavolen::api {

void NetworkAnalysisService::warmUp()
{
    api::warmUp();
}

QCoro::Task<AnalysisOutcome> NetworkAnalysisService::analyzeStream(QByteArray jpeg, QString uiLang,
                                                                   PartialHandler onPartial)
{
    return api::analyzeStream(std::move(jpeg), std::move(uiLang), std::move(onPartial));
}

QCoro::Task<AnalysisOutcome> NetworkAnalysisService::analyze(QByteArray jpeg, QString uiLang)
{
    return api::analyze(std::move(jpeg), std::move(uiLang));
}

QCoro::Task<AnalysisOutcome> runAnalysis(AnalysisService &service, QByteArray jpeg, PartialHandler onPartial,
                                         AnalysisMode mode)
{
    if (mode == AnalysisMode::StreamFirst) {
        QString uiLang = L::uiLang();
        AnalysisOutcome streamed =
            co_await service.analyzeStream(jpeg, std::move(uiLang), std::move(onPartial));
        if (streamed.ok() || isQuotaExceeded(streamed.error()))
            co_return streamed;
    }
    QString uiLang = L::uiLang();
    co_return co_await service.analyze(std::move(jpeg), std::move(uiLang));
}

} // namespace tavolen::api
