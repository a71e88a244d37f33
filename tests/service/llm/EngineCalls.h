// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/llm/LlmEngine.h"

#include "FakeModelServer.h"
#include "Printing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace tavolen::test {

using namespace std::chrono_literals;

// The engine's settings for the fake endpoint, with short limits so that a
// failing bound shows within a test's time.
inline service::llm::LlmSettings settingsFor(const FakeModelServer &server)
{
    service::llm::LlmSettings settings;
    settings.base_url = server.baseUrl();
    settings.model = QStringLiteral("test-model");
    settings.api_key = QStringLiteral("sk-test-123");
    settings.timeouts = {2s, 2s, 10s};
    return settings;
}

inline service::AnalysisInput englishPost()
{
    return {QStringLiteral("Is the new café open on Sundays?"), QStringLiteral("en"),
            QByteArray("\xFF\xD8jpeg\xFF\xD9"), QStringLiteral("en")};
}

// What one analyze call gave, and how long it took.
struct EngineCall {
    service::EngineOutcome outcome;
    std::vector<protocol::FieldEvent> events;
    std::chrono::milliseconds took{};

    const service::EngineFailure *failure() const { return std::get_if<service::EngineFailure>(&outcome); }
    const protocol::AnalysisResult *reading() const
    {
        return std::get_if<protocol::AnalysisResult>(&outcome);
    }
    QString code() const { return failure() ? failure()->code : QString(); }
};

inline EngineCall analyzeWith(const service::llm::LlmSettings &settings,
                              const service::AnalysisInput &input = englishPost(),
                              const std::atomic<bool> &cancelled = std::atomic<bool>{false},
                              std::function<void(const protocol::FieldEvent &)> alsoOnField = {})
{
    service::llm::LlmEngine engine(settings);
    EngineCall call;
    const auto start = std::chrono::steady_clock::now();
    call.outcome = engine.analyze(
        input,
        [&](const protocol::FieldEvent &e) {
            call.events.push_back(e);
            if (alsoOnField)
                alsoOnField(e);
        },
        cancelled);
    call.took =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    return call;
}

} // namespace tavolen::test
