// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ServiceWithModel.h"

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
        useService(*running);
}

bool ServiceWithModel::waitForLogLines(qsizetype count) const
{
    return QTest::qWaitFor([&] { return running->log().size() >= count; }, 10'000);
}

} // namespace tavolen::test
