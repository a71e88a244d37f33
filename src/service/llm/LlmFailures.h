// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"

#include <QString>

#include <string_view>

namespace tavolen::service::llm {

// A failure of the model call with its code and a detail for the log line.
EngineFailure llmFailure(const char *code, const QString &detail);

// The failure for a model endpoint that answered `status` (not 200), with
// `body`'s size but none of its words in the detail.
EngineFailure statusFailure(int status, std::string_view body);

// `failure` with the message the person sees, in their interface language
// (a Chinese tag gives Simplified Chinese, anything else English): the client
// shows the service's message as it comes.
EngineFailure withUserMessage(EngineFailure failure, const QString &uiLanguage);

} // namespace tavolen::service::llm
