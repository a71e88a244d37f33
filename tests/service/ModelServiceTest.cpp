// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ServiceWithModel.h"

#include "service/EngineFactory.h"
#include "support/ServiceAnswers.h"
#include "support/ServiceTest.h"

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::test;

// ModelService: the service as configured for a language model, with the
// app's own calls at one end and a scripted chat-completions endpoint at
// the other.

TEST(ModelService, WithAModelConfiguredTheAppReceivesTheModelsReadingFieldByField)
{
    ServiceWithModel s(resultJson().toStdString());
    ASSERT_TRUE(s.engine) << s.error.toStdString();
    const api::AnalysisOutcome outcome = s.stream();
    ASSERT_TRUE(outcome.ok()) << caseText(outcome);
    EXPECT_EQ(outcome.value().result, sampleResult()) << "the model's reading, unchanged";
    EXPECT_EQ(outcome.value().model, "llm:scripted-model");
    ASSERT_FALSE(s.partials.isEmpty()) << "the early fields came on their own";
    EXPECT_EQ(s.partials.back().summary, sampleResult().summary);

    ASSERT_EQ(s.model.requests().size(), 1u);
    EXPECT_NE(s.model.requests().front().body.find("Coffee on Friday?"), std::string::npos)
        << "the model reads the text taken from the picture";
}

TEST(ModelService, WithoutAModelTheOfflineEngineReads)
{
    QString error;
    EXPECT_EQ(service::makeEngine(service::ServiceConfig{}, error)->name(), "offline");
    service::ServiceConfig onlyAnEngine;
    onlyAnEngine.engine = QStringLiteral("llm");
    EXPECT_EQ(service::makeEngine(onlyAnEngine, error), nullptr);
    EXPECT_FALSE(error.isEmpty()) << "asking for a model without naming one is a configuration error";
}
