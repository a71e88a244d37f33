// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ServiceWithModel.h"

#include "core/RunToEnd.h"
#include "service/EngineFactory.h"

#include <QTest>

namespace tavolen::test {

ServiceWithModel::ServiceWithModel(std::string answer, service::TextExtractor *extractor, bool readsPictures)
{
    config.llm.vision = readsPictures;
    model.answer(modelWrites(answer));
    config.llm.base_url = model.baseUrl();
    config.llm.model = QStringLiteral("scripted-model");
    engine = service::makeEngine(config, error);
    fakeExtractor.result = service::ExtractedText{QStringLiteral("Coffee on Friday?"), QStringLiteral("en")};
    if (engine)
        running = std::make_unique<RunningService>(config, *engine, extractor ? *extractor : fakeExtractor);
    if (running)
        settings.store.setValue(QStringLiteral("api_base"), running->baseUrl());
}

api::AnalysisOutcome ServiceWithModel::stream(const QByteArray &jpeg)
{
    partials.clear();
    return runToEnd(api::analyzeStream({&network, &settings.store, {}}, jpeg, QStringLiteral("en"),
                                       [this](const protocol::StreamPartial &p) { partials.append(p); }));
}

api::AnalysisOutcome ServiceWithModel::plain(const QByteArray &jpeg)
{
    return runToEnd(api::analyze({&network, &settings.store, {}}, jpeg, QStringLiteral("en")));
}

bool ServiceWithModel::waitForLogLines(qsizetype count) const
{
    return QTest::qWaitFor([&] { return running->log().size() >= count; }, 10'000);
}

} // namespace tavolen::test
