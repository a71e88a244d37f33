// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"
#include "service/llm/LlmSettings.h"

namespace tavolen::service::llm {

// Reads posts with a language model behind any OpenAI-compatible
// chat-completions endpoint (a hosted API over https, llama.cpp's
// llama-server or Ollama's /v1 over plain http). The model streams one JSON
// object; its early fields are reported as soon as each is written, then the
// whole object is validated as the reading. Every call is bounded in time and
// size by the settings. Safe to use from several worker threads at once.
class LlmEngine : public Engine {
public:
    explicit LlmEngine(LlmSettings settings);

    // "llm:" and the model's name.
    QString name() const override;
    bool writesReplies() const override { return true; }
    bool readsPictures() const override { return m_settings.vision; }
    QString modelName() const override { return m_settings.model; }
    // Never carries a key: base URLs with a user name or password are refused.
    QString baseUrl() const override { return m_settings.base_url; }
    // One streamed request to the model; failures carry a message in the
    // upload's interface language.
    EngineOutcome analyze(const AnalysisInput &input, const FieldSink &onField,
                          const std::atomic<bool> &cancelled) override;

private:
    EngineOutcome read(const AnalysisInput &input, const FieldSink &onField,
                       const std::atomic<bool> &cancelled);

    const LlmSettings m_settings;
};

} // namespace tavolen::service::llm
