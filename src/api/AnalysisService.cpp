// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/AnalysisService.h"

#include "api/Network.h"
#include "api/ServiceUrl.h"
#include "core/InterfaceLanguage.h"
#include "core/Log.h"

namespace tavolen::api {

void NetworkAnalysisService::warmUp()
{
    api::warmUp(m_context);
}

QCoro::Task<AnalysisOutcome> NetworkAnalysisService::analyzeStream(QByteArray jpeg, QString uiLang,
                                                                   PartialHandler onPartial)
{
    // The service's address is the user's setting, not their content.
    qCInfo(lcApi).noquote() << "streaming call to"
                            << base(*m_context.settings).toString(QUrl::RemoveUserInfo);
    return api::analyzeStream(m_context, std::move(jpeg), std::move(uiLang), std::move(onPartial));
}

QCoro::Task<AnalysisOutcome> NetworkAnalysisService::analyze(QByteArray jpeg, QString uiLang)
{
    qCInfo(lcApi).noquote() << "plain call to" << base(*m_context.settings).toString(QUrl::RemoveUserInfo);
    return api::analyze(m_context, std::move(jpeg), std::move(uiLang));
}

QCoro::Task<AnalysisOutcome> runAnalysis(AnalysisService &service, QByteArray jpeg, PartialHandler onPartial,
                                         AnalysisMode mode)
{
    qCInfo(lcApi).noquote() << "analysing" << jpeg.size() << "bytes of JPEG";
    if (mode == AnalysisMode::StreamFirst) {
        QString uiLang = serviceLanguage();
        AnalysisOutcome streamed =
            co_await service.analyzeStream(jpeg, std::move(uiLang), std::move(onPartial));
        qCInfo(lcApi).noquote() << "stream:" << logSummary(streamed);
        if (streamed.ok() || isQuotaExceeded(streamed.error()))
            co_return streamed;
    }
    QString uiLang = serviceLanguage();
    AnalysisOutcome plain = co_await service.analyze(std::move(jpeg), std::move(uiLang));
    qCInfo(lcApi).noquote() << "plain call:" << logSummary(plain);
    co_return plain;
}

} // namespace tavolen::api
