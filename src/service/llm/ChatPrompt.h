// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"
#include "service/llm/LlmSettings.h"

#include <QString>

#include <string>

namespace tavolen::service::llm {

// The JSON body of one streamed chat-completions request for `input`: the
// model, the instructions (one reading as one JSON object, early fields
// first; what the user reads about the post in the interface language, a
// Chinese tag giving Simplified Chinese; the replies in the post's
// language), the extracted text and, when `settings.vision` is on, the
// screenshot as a data: URL.
std::string chatRequestBody(const LlmSettings &settings, const AnalysisInput &input);

} // namespace tavolen::service::llm
