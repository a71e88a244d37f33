#pragma once

#include "service/Engine.h"
#include "service/llm/LlmSettings.h"

#include <QString>

#include <string>

namespace tavolen::service::llm {

// The instructions that make a chat model answer with one reading as one JSON
// object, early fields first. Everything the user reads about the post is
// written in the interface language `uiLanguage` ("zh-Hans" gives Simplified
// Chinese, anything else English); the replies stay in the post's language.
QString systemPrompt(const QString &uiLanguage);

// The JSON body of one streamed chat-completions request for `input`: the
// model, the instructions, the extracted text and, when `settings.vision` is
// on, the screenshot as a data: URL.
std::string chatRequestBody(const LlmSettings &settings, const AnalysisInput &input);

} // namespace tavolen::service::llm
